#include "chords/SecondInput.h"

#include <exception>

#include "core/ClockLink.h"
#include "core/Options.h"
#include "core/Session.h"
#include "chords/InputLink.h"
#include "chords/KeyboardInput.h"
#include "midi/MidiInput.h"
#include "midi/MidiStatus.h"

namespace chordella::chords {

namespace {

using midi::status::NoteOff;
using midi::status::NoteOn;
using midi::status::ControlChange;
using midi::status::SystemExclusive;
constexpr std::uint8_t TimingClock = 0xF8;
constexpr std::uint8_t Start = 0xFA;
constexpr std::uint8_t Continue = 0xFB;
constexpr std::uint8_t Stop = 0xFC;
constexpr int QueueClockInRing = 1;
constexpr int CommandKeys = 24;
constexpr int IntroDetectionController = 21;
constexpr int TempoDetectionController = 22;
constexpr int ThruTransposeController = 84;
constexpr int LowestDetectedTempo = 25;
constexpr int HighestDetectedTempo = 250;
constexpr std::uint8_t SustainPedal = 64;
constexpr std::uint8_t SostenutoPedal = 66;
constexpr std::uint8_t PedalDown = 64;

}  // namespace

SecondInput::SecondInput(core::Session& session, KeyboardState& keyboard, const core::Options& options,
                         const engine::EngineState& engineState, ChordRecogniser& recogniser, core::ClockLink* clock,
                         InputLink& peers)
    : InputHandler(session, &core::Session::MidiInput2),
      keyboard_(keyboard),
      options_(options),
      clock_(clock),
      peers_(&peers),
      filter_(session, keyboard, options, engineState, recogniser, *peers_) {}

void SecondInput::SetPeers(InputLink& peers) {
    peers_ = &peers;
    filter_.SetPeers(*peers_);
}

void SecondInput::Attach() {
    session_.Midi().Settings().SetClockRouting(nullptr, QueueClockInRing);
    InputHandler::Attach();
}

void SecondInput::ReleaseAfterLoss() {
    midi::TMidiOutput* out = session_.MidiOutput1();
    if (out && out->IsOpen()) {
        for (std::size_t note = 0; note < passedNotes_.size(); ++note) {
            if (!passedNotes_.test(note)) continue;
            out->PutShort(static_cast<std::uint8_t>(NoteOff | (note / 128)), static_cast<std::uint8_t>(note % 128), 0);
        }
        for (std::size_t pedal = 0; pedal < passedPedals_.size(); ++pedal) {
            if (!passedPedals_.test(pedal)) continue;
            out->PutShort(static_cast<std::uint8_t>(ControlChange | (pedal / 2)), pedal % 2 ? SostenutoPedal : SustainPedal, 0);
        }
    }
    passedNotes_.reset();
    passedPedals_.reset();
}

void SecondInput::HandleEvent(const midi::TMyMidiEvent& event, bool& commandRun) {
    const std::uint8_t status = event.MidiMessage;
    if (status == TimingClock) {
        // Straight to the clock; clock bytes neither break a run of commands nor go thru.
        // While the style creator records, each one is a tick of the recording's waits.
        if (options_.SlaveMode && clock_) clock_->OnRealtimeByte(TimingClock);
        if (peers_->CreatorRecording()) peers_->CreatorRecord(TimingClock, 0, 0);
        return;
    }
    if (status == SystemExclusive) {
        SendSysex(session_.MidiOutput1(), SysexPiece(event.Sysex));
        return;
    }
    OtherMessage(status);
    if (status < 0x80 || event.Data1 > 127 || event.Data2 > 127) return;
    const int kind = status & 0xF0;
    std::uint8_t data1 = event.Data1;
    std::uint8_t data2 = event.Data2;
    if (status < 0xF0) {
        if (peers_->SecondInputMessage(status, data1, data2)) {
            commandRun = false;
            return;
        }
        if (kind == ControlChange && session_.Style().player.StyleActive == 0 && Detection(data1, data2)) {
            commandRun = false;
            return;
        }
        if (Command(kind, data1, data2, commandRun)) return;
        if (!options_.UnchangedMidiIn) {
            if (kind == ControlChange && data1 == ThruTransposeController) {
                const int value = data2 + keyboard_.ThruTranspose;
                data2 = static_cast<std::uint8_t>(value < 0 ? 0 : value > 127 ? 127 : value);
            }
            const int filtered = filter_.Filter(kind, status & 0x0F, data2, data1);
            if (filtered > 254 || filtered < 0) return;
            data1 = static_cast<std::uint8_t>(filtered);
        }
    } else {
        commandRun = false;
        Realtime(status);
    }
    if (peers_->CreatorRecording()) {
        if (status == Start || status == Continue) peers_->CreatorSequencerStarted();
        if (status < 0xF0) peers_->CreatorRecord(status, data1, data2);
    }
    PassToFirstOutput(status, data1, data2);
}

// A MIDI command: a note or controller on the lowest 24 numbers with a value above 0.
bool SecondInput::Command(int kind, int data1, int data2, bool& commandRun) {
    const bool command = (kind == NoteOn || kind == NoteOff || kind == ControlChange) && data1 < CommandKeys && data2 > 0;
    if (!command) {
        commandRun = false;
        return false;
    }
    if (commandRun) {
        ++droppedCommands_;
        return true;
    }
    commandRun = true;
    int number = data1;
    if (!options_.MidiCommandsActivated && number > 11) number -= 12;
    if (number >= 12) {
        peers_->RunMidiCommand(number - 12);
        return true;
    }
    const int code = peers_->ProgramControlCode(number);
    if (code >= 975) {
        peers_->ProgramControl(code - 975);
    } else if (code >= 900) {
        peers_->ProgramControl(code - 874);
    }
    return true;
}

// Controllers 21 and 22 while no style plays, when their detection is on; true when
// consumed. They come before the commands: their numbers lie among the command numbers,
// and a command would take every value above 0.
bool SecondInput::Detection(int data1, int data2) {
    if (data1 == IntroDetectionController && options_.IntroDetection) {
        const int measure = -data2;
        const int current = peers_->StartMeasure();
        if (measure != current && current < 2) peers_->SetStartMeasure(measure);
        return true;
    }
    if (data1 == TempoDetectionController && options_.TempoDetection) {
        const int tempo = 2 * data2;
        if (tempo >= LowestDetectedTempo && tempo <= HighestDetectedTempo && clock_) clock_->TempoFieldChanged(tempo);
        return true;
    }
    return false;
}

void SecondInput::Realtime(std::uint8_t status) {
    if (!options_.SlaveMode || !clock_) return;
    if (status == Start || status == Continue || status == Stop) clock_->OnRealtimeByte(status);
}

void SecondInput::PassToFirstOutput(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    midi::TMidiOutput* out = session_.MidiOutput1();
    if (!out || !out->IsOpen()) return;
    const int kind = status & 0xF0;
    if (kind == NoteOn || kind == NoteOff) {
        const std::size_t note = static_cast<std::size_t>(status & 0x0F) * 128 + (data1 & 0x7F);
        passedNotes_.set(note, kind == NoteOn && data2 > 0);
    }
    if (kind == ControlChange && (data1 == SustainPedal || data1 == SostenutoPedal)) {
        passedPedals_.set(static_cast<std::size_t>(status & 0x0F) * 2 + (data1 == SostenutoPedal), data2 >= PedalDown);
    }
    out->PutShort(status, data1, data2);
}

}  // namespace chordella::chords
