#pragma once
// The keyboard layout and the input side's own state: where the chord zone, the control
// keys, the triggered-chord zone, the instrument keys and the four split zones lie, the
// spinners that shift what is played, and what the input remembers per channel and key.
//
// The chord zone's lowest key is chords::ChordState::FirstKey; its highest key and the
// control keys are the configuration's derived keys (data::ControlKeys in
// app::AppState::config). The switches are options (core/Options.h). Control thread only.

#include <array>
#include <cstdint>

#include "chords/ChordState.h"
#include "chords/KeyboardState.h"
#include "data/ControlKeys.h"

namespace chordella::core { struct Options; }
namespace chordella::data { struct ConfigState; }
namespace chordella::engine { struct EngineState; }

namespace chordella::chords {

// The zone and control keys in effect, as MIDI notes (-1 = no key).
struct KeyboardLayout {
    int FirstKey = 40;
    int LastKey = 59;
    data::ControlKeys Keys;
    int TriggerLow = 72;
};

// Control thread. The layout read from the state and the configuration.
KeyboardLayout CurrentLayout(const ChordState& chordState, const KeyboardState& keyboard,
                             const data::ConfigState& config);

// Control thread. The configuration's chord zone becomes the recogniser's FirstKey and the
// triggered-chord zone follows it. Run after the settings are loaded or changed.
void ApplyKeyboardLayout(ChordState& chordState, KeyboardState& keyboard, const data::ConfigState& config);

// (FirstKey div 12) × 12 + 24: the lowest key that triggers a chord in "Play Chords".
constexpr int TriggerLowFor(int firstKey) { return (firstKey < 0 ? 0 : firstKey) / 12 * 12 + 24; }

// True for the four section keys and the five command keys below them.
bool IsControlKey(const data::ControlKeys& keys, int key);

// Octave spinner × 12 + semitone spinner: what is added to melody notes.
int KeyboardTranspose(const engine::EngineState& engineState, const KeyboardState& keyboard);

// The melody velocity offset: the balance spinner plus the style's offset.
int VelocityOffset(const core::Options& options, const KeyboardState& keyboard);

// velocity + offset: 1 … 127 is used, above 127 becomes 127, 0 or less keeps `velocity`.
constexpr int OffsetVelocity(int velocity, int offset) {
    const int result = velocity + offset;
    return result > 127 ? 127 : result >= 1 ? result : velocity;
}

}  // namespace chordella::chords
