// The transport's control keys and the seams of the tick it forwards to the chord memory,
// the melody track and chord recognition.

#include <algorithm>

#include "core/Session.h"
#include "engine/Clock.h"
#include "engine/Metronome.h"
#include "engine/Outputs.h"
#include "engine/Transport.h"

namespace chordella::engine {

namespace {

constexpr int TempoCommand = 254;
constexpr int ProgramChangeCommand = 223;
constexpr int MidiCommandCommand = 222;
constexpr int LowestFieldTempo = 25;
constexpr int HighestFieldTempo = 250;
constexpr std::uint32_t MidiStop = 0xFC;

// The four configured section keys and the five derived below the lowest of them.
struct ControlKeys {
    int Fill;
    int Ending;
    int ToExtended;
    int ToBasic;
    int Lowest;

    int Intro() const { return Lowest - 1; }
    int PadOn() const { return Lowest - 2; }
    int PadOff() const { return Lowest - 3; }
    int Extended() const { return Lowest - 4; }
    int Basic() const { return Lowest - 5; }
};

// The four section keys come from the settings (data::ControlKeys, derived from the
// configured notes and octaves); the other five lie just below the lowest of them.
ControlKeys KeysOf(const data::ControlKeys& k) {
    return {k.FillIn, k.Ending, k.ToExtended, k.ToBasic, std::min({k.FillIn, k.Ending, k.ToExtended, k.ToBasic})};
}

}  // namespace

void Transport::ClearPendingKey() {
    EngineState& e = engineState_;
    e.PendingCommandKey = 0;
    e.PendingCommandValue = 0;
}

void Transport::ApplyCommandKey() {
    if (!IsOpen(session_.AccompanimentOutput())) return;
    const EngineState& e = engineState_;
    const int key = e.PendingCommandKey;
    const int value = e.PendingCommandValue;
    if (key > 0) {
        if (session_.Style().player.StyleMode) StyleModeKey(key);
        if (!IndependentKey(key, value)) {
            ClearPendingKey();
            return;
        }
        if (key != config_.Keys.Ending && key != TempoCommand) peers_->CancelEndingCountdown();
        ClearPendingKey();
    }
    sections_.ApplyRequest();
}

void Transport::StyleModeKey(int key) {
    const ControlKeys keys = KeysOf(config_.Keys);
    EngineState& e = engineState_;
    SectionState& sections = session_.Style().sections;
    int request = NoSectionRequest;
    if (key == keys.PadOn()) {
        e.InstrumentPadOn = 1;
    } else if (key == keys.PadOff()) {
        e.InstrumentPadOn = 0;
    } else if (key == keys.Fill) {
        request = sections_.RequestForFillKey();
    } else if (key == keys.ToExtended) {
        request = sections_.RequestForToExtendedKey();
    } else if (key == keys.ToBasic) {
        request = 7;
    } else if (key == keys.Basic()) {
        request = 1;
    } else if (key == keys.Extended()) {
        if (sections_.Present(2)) request = 2;
    } else if (key == keys.Ending) {
        sections.NextSection = 3;
        session_.Display().ShowChordText("ENDING");
    } else if (key == keys.Intro()) {
        request = 0;
    }
    if (request != NoSectionRequest) sections.SectionRequest = request;
}

bool Transport::IndependentKey(int key, int value) {
    const core::Options& options = options_;
    const bool styleMode = session_.Style().player.StyleMode;
    const ControlKeys keys = KeysOf(config_.Keys);
    if (key == ProgramChangeCommand) {
        TransportState& transport = transportState_;
        if (!options.IgnoreMidiCommands && !peers_->SendingMidiCommand()) {
            if (value != transport.LastRequestedProgram || value > 127) peers_->RequestProgramChange(value);
            transport.LastRequestedProgram = static_cast<std::int16_t>(value);
        }
        return false;
    }
    if (key == MidiCommandCommand) {
        if (!options.IgnoreMidiCommands) peers_->RequestMidiCommand(value);
        return false;
    }
    if (key == TempoCommand) {
        // A tempo outside the tempo field's range would silence the clock: it is not taken.
        if (!options.IgnoreTempi && value >= LowestFieldTempo && value <= HighestFieldTempo) {
            ClockState& clock = clockState_;
            if (clock.ClockState != 0) clock_.SetTempo(value);
            if (transportState_.ChordPlayMode == 0) {
                clock.Tempo = value;
                session_.Display().ShowTempo(value);
            }
        }
        return true;
    }
    if (styleMode) return true;
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (key == keys.Intro()) {
        // An external arranger restarts on the current chord.
        midi::MidiOut* clockOut = session_.ClockOutput();
        if (IsOpen(clockOut)) clockOut->PutShortMsg(MidiStop);
        peers_->ReapplyCurrentChord();
    } else {
        const int velocity = engineState_.TriggerVelocity;
        Send(out, 0x90, key, velocity);
        Send(out, 0x90, key, 0);
    }
    return true;
}

// --- Seams forwarded ---

bool Transport::CountInTick() {
    return engine::CountInTick(session_.AccompanimentOutput(), transportState_, clockState_, options_);
}
void Transport::BeatOverran() { peers_->BeatOverran(); }
bool Transport::ChordMemoryStep() { return peers_->ChordMemoryStep(); }
void Transport::MelodyStep() { peers_->MelodyStep(); }
void Transport::SectionStep() {
    if (rangeBeats_ != nullptr) rangeBeats_->RangeBeat();
    sections_.SectionStep();
}
void Transport::MetronomeClick(int level) {
    engine::MetronomeClick(session_.AccompanimentOutput(), transportState_, clockState_, options_, level);
}
bool Transport::ChordMemoryEmpty() { return peers_->ChordMemoryEmpty(); }
void Transport::ChordMemoryJumpToEnd() { peers_->ChordMemoryJumpToEnd(); }
bool Transport::ChordMemoryBusy() { return transportState_.ChordPlayMode != 0; }
bool Transport::ChordCodeSentAhead() { return peers_->ChordCodeSentAhead(); }
void Transport::MeterKindChanged(MeterKind from, MeterKind to) { peers_->MeterKindChanged(from, to); }
void Transport::MeasureUnitsSetFromFile() { peers_->MeasureUnitsSetFromFile(); }
bool Transport::EditorTakesChord(std::int16_t root, std::int16_t type) { return peers_->EditorTakesChord(root, type); }
bool Transport::EditorSoundsChords() { return peers_->EditorSoundsChords(); }
bool Transport::EditorTakesChords() { return peers_->EditorTakesChords(); }
bool Transport::NoChordMarked() { return peers_->NoChordMarked(); }
bool Transport::StepRecordTakesChord() { return peers_->StepRecordTakesChord(); }

}  // namespace chordella::engine
