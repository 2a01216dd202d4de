#include "remote/MidiCommands.h"

#include <algorithm>

#include "core/Options.h"
#include "core/Session.h"
#include "data/ConfigState.h"
#include "midi/MidiOutput.h"
#include "midi/MidiStatus.h"

namespace chordella::remote {

namespace {

using midi::status::NoteOff;
using midi::status::NoteOn;
using midi::status::ControlChange;
using midi::status::ProgramChange;
constexpr int BankSelectMsb = 0;
constexpr int BankSelectLsb = 32;
constexpr int DawOnlyData = 64;
constexpr std::chrono::milliseconds DelayedHalf{20};

// A data field as a data byte: above 127 it is lowered by 128 (and what is still too high,
// from a hand-made table, is held at 127: never a wild byte).
int DataByte(int data) { return std::min(data > 127 ? data - 128 : data, 127); }

}  // namespace

MidiCommands::MidiCommands(core::Session& session, core::Options& options, const data::ConfigState& config,
                           DelayLink& delays)
    : session_(session), options_(options), config_(config), delays_(delays) {
    delays_.OnAlarm([this] { SendDueHalves(); });
    if (std::optional<MidiCommandTable> stored = ParseTableText(options_.MidiCommandTable))
        table_ = *stored;
}

MidiCommands::~MidiCommands() {
    delays_.Disarm();
    while (pendingCount_ > 0) SendOldestHalf();
}

void MidiCommands::SetTable(const MidiCommandTable& table) {
    for (std::size_t i = 0; i < table.Commands.size(); ++i) table_.Commands[i] = Clamped(table.Commands[i]);
    options_.MidiCommandTable = TableText(table_);
}

void MidiCommands::SetProgramCounter(int counter) {
    programCounter_ = counter < 0 || counter > HighestProgramCounter ? 0 : counter;
}

bool MidiCommands::Activated() const { return options_.MidiCommandsActivated; }
void MidiCommands::SetActivated(bool on) { options_.MidiCommandsActivated = on; }

void MidiCommands::FlipIndicator(int code) {
    if (code >= 0 && code < IndicatorCount) indicators_[static_cast<std::size_t>(code)] ^= true;
}

void MidiCommands::ClearIndicator(int code) {
    if (code >= 0 && code < IndicatorCount) indicators_[static_cast<std::size_t>(code)] = false;
}

bool MidiCommands::PortOpen() {
    midi::TMidiOutput* out = session_.MidiOutput3();
    return out && out->IsOpen();
}

void MidiCommands::Send(int status, int data1, int data2) {
    midi::TMidiOutput* out = session_.MidiOutput3();
    if (!out || !out->IsOpen()) return;
    out->PutShort(static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1 & 0x7F),
                  static_cast<std::uint8_t>(data2 & 0x7F));
}

void MidiCommands::SendLater(int status, int data1, int data2) {
    if (pendingCount_ == MaxPendingHalves) {
        ++earlyHalves_;
        SendOldestHalf();
    }
    const DelayLink::TimePoint due = delays_.Now() + DelayedHalf;
    pending_[(pendingFirst_ + pendingCount_) % MaxPendingHalves] =
        Pending{due, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1), static_cast<std::uint8_t>(data2)};
    // Every half waits equally long, so the ring stays in the order the halves fall due and
    // the alarm is only set for the first one.
    if (++pendingCount_ == 1) delays_.Arm(DelayedHalf);
}

void MidiCommands::SendOldestHalf() {
    const Pending half = pending_[pendingFirst_];
    pendingFirst_ = (pendingFirst_ + 1) % MaxPendingHalves;
    --pendingCount_;
    Send(half.Status, half.Data1, half.Data2);
}

void MidiCommands::SendDueHalves() {
    const DelayLink::TimePoint now = delays_.Now();
    while (pendingCount_ > 0 && pending_[pendingFirst_].Due <= now) SendOldestHalf();
    if (pendingCount_ > 0) delays_.Arm(pending_[pendingFirst_].Due - now);
}

bool MidiCommands::Execute(int n) {
    const bool dawOnly = n >= DawOnlyOffset;
    const int command = dawOnly ? n - DawOnlyOffset : n;
    if (command < 0 || command >= CommandCount) return false;
    if (!Activated() || !PortOpen() || (!dawOnly && RemoteDownReturn)) {
        ++refused_;
        return false;
    }
    if (!dawOnly) {
        toggles_[static_cast<std::size_t>(command)] ^= true;
        SendByType(command);
        FlipIndicator(command + 12);
        ++executed_;
    }
    if (RemotePan) SendDaw(command, dawOnly);
    return true;
}

void MidiCommands::SendDawMessages() {
    const data::DawMessage& first = config_.Daw.Messages[0];
    if (first.Enabled) Execute(first.Command + DawOnlyOffset);
}

void MidiCommands::SendByType(int n) {
    const MidiCommand& c = table_.Commands[static_cast<std::size_t>(n)];
    const bool on = toggles_[static_cast<std::size_t>(n)];
    const int cc = ControlChange | c.Channel;
    const int noteOn = NoteOn | c.Channel;
    const int noteOff = NoteOff | c.Channel;
    const int data = DataByte(c.Data);
    switch (static_cast<CommandType>(c.Type)) {
    case CommandType::CcToggleAboveZero: Send(cc, c.Value, data); break;
    case CommandType::NoteToggleAboveZero: Send(noteOn, c.Value, data); break;
    case CommandType::ProgramChange:
        if (c.Data != 0 || AllowBankChanges) {
            const int msb = c.Data < 128 ? c.Data : c.Data / 128;
            const int lsb = c.Data < 128 ? 0 : c.Data - 128 * msb;
            Send(cc, BankSelectMsb, msb);
            Send(cc, BankSelectLsb, lsb);
        }
        Send(ProgramChange | c.Channel, c.Value, 0);
        break;
    case CommandType::CcToggleOnOff: Send(cc, c.Value, on ? data : 0); break;
    case CommandType::NoteToggleOnOff: Send(on ? noteOn : noteOff, c.Value, data); break;
    case CommandType::CcMomentary:
        Send(cc, c.Value, data);
        Send(cc, c.Value, 0);
        break;
    case CommandType::NoteMomentary:
        Send(noteOn, c.Value, data);
        Send(noteOff, c.Value, data);
        break;
    case CommandType::CcDelayed:
        Send(cc, c.Value, data);
        SendLater(cc, c.Value, 0);
        break;
    case CommandType::NoteDelayed:
        Send(noteOn, c.Value, data);
        SendLater(noteOff, c.Value, data);
        break;
    case CommandType::NextProgram: SendProgramSelection(c, +1); break;
    case CommandType::PreviousProgram: SendProgramSelection(c, -1); break;
    }
}

void MidiCommands::SendProgramSelection(const MidiCommand& c, int step) {
    SetProgramCounter(programCounter_ + step);
    int program = programCounter_;
    if (programCounter_ > 127) {
        Send(ControlChange | c.Channel, BankSelectMsb, programCounter_ / 128);
        Send(ControlChange | c.Channel, BankSelectLsb, DataByte(c.Data));
        program = programCounter_ % 128;
    }
    Send(ProgramChange | c.Channel, program, 0);
}

void MidiCommands::SendDaw(int n, bool dawOnly) {
    const auto& messages = config_.Daw.Messages;
    const bool on = toggles_[static_cast<std::size_t>(n)];
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const data::DawMessage& m = messages[i];
        if (!m.Enabled || (i == 0 && m.Command != n)) continue;
        int status = ControlChange;
        if (m.Kind == 1) status = NoteOn;
        if (m.Kind == 2) status = ProgramChange;
        if (m.Kind == 4) status = on ? NoteOn : NoteOff;
        int data2 = m.Kind == 3 && !on ? m.OffData : m.OnData;
        if (dawOnly && i == 0) data2 = DawOnlyData;
        Send(status | m.Channel, m.Value, data2);
    }
}

}  // namespace chordella::remote
