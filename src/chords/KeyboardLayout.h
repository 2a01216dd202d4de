#pragma once
// The keyboard layout and the input side's own state: where the chord zone, the control
// keys, the triggered-chord zone, the instrument keys and the four split zones lie, the
// spinners that shift what is played, and what the input remembers per channel and key.
//
// The chord zone's lowest key is chords::ChordState::FirstKey; its highest key and the
// control keys are the configuration's derived keys (data::ControlKeys in
// AppState::config). The switches are options (app/Options.h). Control thread only.

#include <array>
#include <cstdint>

#include "data/ControlKeys.h"

namespace chordella::app {
class Session;
}

namespace chordella::chords {

// One zone of " Keyboard Split ...": keys from the previous zone's bound up to (not
// including) UpperBound.
struct SplitZone {
    std::int16_t UpperBound = 128;
    bool On = false;
    std::int16_t Channel = 1;      // 1 … 16
    std::int16_t OctaveShift = 0;  // semitones, a multiple of 12 (−96 … 96)
};

// The check boxes of the sixteen channel indicators.
enum class Indicator : std::uint8_t { Unchecked = 0, Checked = 1, Greyed = 2 };

struct KeyboardState {
    // The main window's semitone spinner (−11 … 11): added to chord roots and, with the
    // octave spinner (EngineState::KeyboardOctave) × 12, to melody notes.
    std::int16_t CapoShift = 0;
    // The style's velocity offset; with the balance spinner it colours melody velocities.
    std::int16_t StyleVelocityOffset = 0;
    // The MIDI panel's transposition spinner (−24 … 24), added to notes passing ThruFilter.
    std::int16_t ThruTranspose = 0;
    // Keys at or above it trigger chords in "Play Chords"; recomputed from FirstKey.
    std::int16_t TriggerLow = 72;
    // Instrument keys: from InstrumentLow (index 0) to below InstrumentHigh; 0/0 = none.
    std::int16_t InstrumentLow = 0;
    std::int16_t InstrumentHigh = 0;
    // The unnamed switch: the top four keys of a range run program-control functions.
    bool TopFunctionKeys = false;
    std::array<SplitZone, 4> Zones{};
    std::array<bool, 16> ChannelSuppress{};
    std::array<bool, 16> SustainHeld{};
    std::array<Indicator, 16> ChannelIndicator{};
    // The current root the last ad-lib note was adjusted for (the sustain is lifted when
    // it changes while held).
    std::int16_t AdLibRoot = 128;
    // Per channel and received key: the note a melody press was sent as, plus one (0 =
    // nothing sent), and the channel it went out on. The release goes where the press went,
    // whatever the spinners, zones or chords did in between.
    std::array<std::array<std::uint8_t, 128>, 16> SentNote{};
    std::array<std::array<std::uint8_t, 128>, 16> SentChannel{};
};

// The zone and control keys in effect, as MIDI notes (-1 = no key).
struct KeyboardLayout {
    int FirstKey = 40;
    int LastKey = 59;
    data::ControlKeys Keys;
    int TriggerLow = 72;
};

// Control thread. The layout read from the state and the configuration.
KeyboardLayout CurrentLayout(app::Session& session);

// Control thread. The configuration's chord zone becomes the recogniser's FirstKey and the
// triggered-chord zone follows it. Run after the settings are loaded or changed.
void ApplyKeyboardLayout(app::Session& session);

// (FirstKey div 12) × 12 + 24: the lowest key that triggers a chord in "Play Chords".
constexpr int TriggerLowFor(int firstKey) { return (firstKey < 0 ? 0 : firstKey) / 12 * 12 + 24; }

// True for the four section keys and the five command keys below them.
bool IsControlKey(const data::ControlKeys& keys, int key);

// Octave spinner × 12 + semitone spinner: what is added to melody notes.
int KeyboardTranspose(app::Session& session);

// The melody velocity offset: the balance spinner plus the style's offset.
int VelocityOffset(app::Session& session);

// velocity + offset: 1 … 127 is used, above 127 becomes 127, 0 or less keeps `velocity`.
constexpr int OffsetVelocity(int velocity, int offset) {
    const int result = velocity + offset;
    return result > 127 ? 127 : result >= 1 ? result : velocity;
}

}  // namespace chordella::chords
