#include "engine/AccompanimentEngine.h"

#include "core/Session.h"
#include "engine/ChordChange.h"
#include "engine/ChordShift.h"
#include "engine/ChordSound.h"
#include "engine/Outputs.h"

namespace chordella::engine {

AccompanimentEngine::AccompanimentEngine(core::Session& session, EngineState& engineState, ClockState& clockState,
                                         const core::Options& options)
    : session_(session),
      engineState_(engineState),
      clockState_(clockState),
      options_(options),
      sections_(session, engineState, clockState, options),
      hooks_(&sections_),
      player_(session, engineState, clockState, options, hooks_) {
}

AccompanimentEngine::~AccompanimentEngine() {
    session_.Unwire(this);
}

void AccompanimentEngine::TickProcedure() noexcept {
    ClockState& clock = clockState_;
    if (clock.ClockState == 0) return;
    ++clock.TickCount;
    if (!IsOpen(session_.AccompanimentOutput())) return;
    if (clock.TickDelay > 0 && --clock.TickDelay > 0) return;

    ++clock.TickInBeat;
    if (options_.MasterMode) Send(session_.ClockOutput(), 0xF8, 0, 0);
    if (hooks_->CountInTick()) return;
    if (clock.TickInBeat > 24) hooks_->BeatOverran();

    if (!hooks_->ChordMemoryStep()) LiveChordTiming();
    const StylePlayerState& player = session_.Style().player;
    if (player.StyleActive != 0) hooks_->MelodyStep();
    if (player.StyleActive != 0) player_.PlayStyleTick();
}

void AccompanimentEngine::LiveChordTiming() noexcept {
    ClockState& clock = clockState_;
    if (clock.GridBeat == 1 && clock.TickInBeat < clock.EarlyChordTicks && !options_.PlayChords) {
        hooks_->ApplyCommandKey();
        ApplyChord();
    }
    if (clock.TickInBeat > clock.TicksPerBeat) {
        clock.TickInBeat = 1;
        if (clock.GridBeat >= clock.GridBeats) {
            hooks_->ApplyCommandKey();
            ApplyChord();
            clock.GridBeat = 0;
        }
        ++clock.GridBeat;
        if (options_.Metronome) hooks_->MetronomeClick(107);
    }
}

void AccompanimentEngine::SubmitChord(core::ChordPair chord, const std::array<std::int16_t, 4>& notes) noexcept {
    EngineState& e = engineState_;
    e.PendingRoot = chord.Root;
    e.PendingType = chord.Type;
    e.ChordNotes = notes;
    ApplyWhileStopped();
}

void AccompanimentEngine::SubmitControlKey(std::int16_t key, std::int16_t value) noexcept {
    EngineState& e = engineState_;
    e.PendingCommandKey = key;
    e.PendingCommandValue = value;
    e.ChordNotes = {};
    ApplyWhileStopped();
}

core::ChordPair AccompanimentEngine::PendingChord() const noexcept {
    const EngineState& e = engineState_;
    return {e.PendingRoot, e.PendingType};
}

void AccompanimentEngine::DropPendingChord() noexcept {
    EngineState& e = engineState_;
    e.PendingRoot = 0;
    e.PendingType = 0;
}

void AccompanimentEngine::MelodyKeyHeld(int key, int sentAs) noexcept {
    if (key < 0 || key > 127) return;
    engineState_.HeldNotes[static_cast<std::size_t>(key)] = static_cast<std::uint8_t>(sentAs & 0x7F);
}

void AccompanimentEngine::MelodyKeysReleased() noexcept { engineState_.HeldNotes.fill(0); }

void AccompanimentEngine::PlayerPlays(int channel) noexcept {
    EngineState& e = engineState_;
    if (options_.MinusOne && channel == e.VoiceChannel) e.PlayerSoloing = 1;
}

void AccompanimentEngine::SetTriggerVelocity(int velocity) noexcept {
    engineState_.TriggerVelocity = static_cast<std::int16_t>(velocity);
}

void AccompanimentEngine::StopChordSound() noexcept {
    engine::StopChordSound(session_.AccompanimentOutput(), engineState_, clockState_);
}

void AccompanimentEngine::ApplyWhileStopped() noexcept {
    if (clockState_.ClockState != 0) return;
    if (hooks_->StepRecordTakesChord()) return;
    hooks_->ApplyCommandKey();
    ApplyChord();
}

void AccompanimentEngine::StartStyleForChord() {
    if (hooks_->EditorTakesChords()) return;
    session_.Transport().StartStyle();
}

void AccompanimentEngine::ApplyChord() noexcept {
    EngineState& e = engineState_;
    const core::Options& options = options_;
    const std::int16_t root = e.PendingRoot;
    const std::int16_t type = e.PendingType;
    const ChordNoteArray notes = e.ChordNotes;
    if (root >= 1 && root <= 127) session_.Chords().ShowChord(root, type);
    if (root > 0 && hooks_->EditorTakesChord(root, type)) {
        DropPendingChord();
        e.ChordNotes = {};
        return;
    }
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (!options.PlayChords) {
        if (!IsOpen(out)) return;
        if (notes[0] > 0) {
            if (session_.Style().player.StyleActive == 0) {
                TapChord(out, e, notes);
            } else {
                ApplyToStyle(root, type);
            }
            e.ChordNotes = {};
            if (!hooks_->ChordCodeSentAhead()) SendChordCode(session_.ChordCodeOutput(), options, root, type);
            if (options.HarmonicPad) PlayHarmonicPad(out, e, options, notes, session_.Style().player.FadeAmount);
        }
        if (notes[0] > 0 && hooks_->EditorSoundsChords()) {
            ChordNoteArray higher = notes;
            for (std::int16_t& note : higher) {
                if (note > 0) note = static_cast<std::int16_t>(note + 12);
            }
            PlayChordSound(out, e, clockState_, higher);
        }
    } else {
        if (IsOpen(out)) {
            if (!hooks_->ChordCodeSentAhead()) SendChordCode(session_.ChordCodeOutput(), options, root, type);
            PlayChordSound(out, e, clockState_, notes);
        }
        if (clockState_.ClockState == 0) e.ChordNotes = {};
    }
    DropPendingChord();
}

void AccompanimentEngine::ApplyToStyle(std::int16_t root, std::int16_t type) noexcept {
    // A type the transposition tables do not know leaves the style on its chord.
    if (type < 0 || type > ChordTypeCount) return;
    EngineState& e = engineState_;
    const bool adjustOctave = options_.AdjustChordOctave;
    e.StyleRoot = root;
    e.StyleType = type;
    e.OctaveThreshold = static_cast<std::int16_t>(adjustOctave ? 7 : 12);
    e.OctaveShift = static_cast<std::int16_t>(!adjustOctave && root < e.OctaveBase ? -12 : 0);
    ChordChange(session_, e, options_, AllChannels, root, type, false, false);
}

}  // namespace chordella::engine
