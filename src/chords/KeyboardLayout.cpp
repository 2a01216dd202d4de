#include "chords/KeyboardLayout.h"

#include "engine/EngineState.h"
#include "core/Options.h"
#include "data/ConfigState.h"

namespace chordella::chords {

KeyboardLayout CurrentLayout(const ChordState& chordState, const KeyboardState& keyboard,
                             const data::ConfigState& config) {
    KeyboardLayout layout;
    layout.FirstKey = chordState.FirstKey;
    layout.LastKey = config.Keys.LastChordKey;
    layout.Keys = config.Keys;
    layout.TriggerLow = keyboard.TriggerLow;
    return layout;
}

void ApplyKeyboardLayout(ChordState& chordState, KeyboardState& keyboard, const data::ConfigState& config) {
    const int first = config.Keys.FirstChordKey;
    if (first >= 0) SetFirstKey(chordState, first);
    keyboard.TriggerLow = static_cast<std::int16_t>(TriggerLowFor(chordState.FirstKey));
}

bool IsControlKey(const data::ControlKeys& keys, int key) {
    if (key < 0) return false;
    for (int k : {keys.FillIn, keys.Ending, keys.ToExtended, keys.ToBasic, keys.Intro, keys.PadOn, keys.PadOff,
                  keys.Extended, keys.Basic}) {
        if (k == key) return true;
    }
    return false;
}

int KeyboardTranspose(const engine::EngineState& engineState, const KeyboardState& keyboard) {
    return engineState.KeyboardOctave * 12 + keyboard.CapoShift;
}

int VelocityOffset(const core::Options& options, const KeyboardState& keyboard) {
    return options.MelodyVelocityOffset + keyboard.StyleVelocityOffset;
}

}  // namespace chordella::chords
