#include "chords/OperatingModes.h"

#include "core/Options.h"
#include "core/Session.h"
#include "chords/KeyboardLayout.h"
#include "engine/ClockState.h"

namespace chordella::chords {

namespace {

constexpr std::int16_t TriggeringVelocity = 100;
constexpr std::int16_t SilentTriggerVelocity = 1;

// What a mode sets; an empty optional leaves the switch as it is.
struct ModeSwitches {
    int PlayChords = -1;  // -1 unchanged, 0 off, 1 on
    int ChordInput = -1;
    int KeyboardSplit = -1;
    int Instruments = -1;
    int TopFunctionKeys = -1;
    int TwoFinger = -1;
};

ModeSwitches SwitchesOf(OperatingMode mode) {
    switch (mode) {
        case OperatingMode::AccompanimentOn: return {0, 1, -1, -1, -1, 0};
        case OperatingMode::PlayTriggeredChords: return {1, 1, -1, -1, -1, 0};
        case OperatingMode::TwoFingerChords: return {1, 1, -1, 1, 0, 1};
        case OperatingMode::NormalKeyboard: return {0, 0, 0, 0, 0, -1};
        case OperatingMode::NormalKeyboardInstruments: return {0, 0, 0, 1, 0, -1};
        case OperatingMode::SplittedKeyboard: return {0, -1, 1, 0, 0, -1};
        case OperatingMode::SyncExternalSequencer:
        case OperatingMode::SyncInternalClock: break;
    }
    return {};
}

void Set(bool& field, int value) {
    if (value >= 0) field = value != 0;
}

}  // namespace

bool SetPlayChords(core::Session& session, const ChordState& chordState, KeyboardState& keyboard,
                   core::Options& options, const engine::ClockState& clockState, bool on) {
    if (clockState.ClockState != 0) return false;
    options.PlayChords = on;
    if (on) {
        session.Engine().SetTriggerVelocity(TriggeringVelocity);
        keyboard.TriggerLow = static_cast<std::int16_t>(TriggerLowFor(chordState.FirstKey));
    } else {
        session.Engine().SetTriggerVelocity(SilentTriggerVelocity);
    }
    return true;
}

void ApplyOperatingMode(core::Session& session, const ChordState& chordState, KeyboardState& keyboard,
                        core::Options& options, const engine::ClockState& clockState, OperatingMode mode) {
    if (mode == OperatingMode::SyncExternalSequencer) {
        options.SlaveMode = true;
        options.MasterMode = false;
        return;
    }
    if (mode == OperatingMode::SyncInternalClock) {
        options.SlaveMode = false;
        options.MasterMode = true;
        return;
    }
    const ModeSwitches switches = SwitchesOf(mode);
    if (switches.PlayChords >= 0) {
        SetPlayChords(session, chordState, keyboard, options, clockState, switches.PlayChords != 0);
    }
    Set(options.ChordInput, switches.ChordInput);
    Set(options.KeyboardSplit, switches.KeyboardSplit);
    Set(options.InstrumentKeys, switches.Instruments);
    Set(keyboard.TopFunctionKeys, switches.TopFunctionKeys);
    Set(options.TwoFingerChords, switches.TwoFinger);
}

}  // namespace chordella::chords
