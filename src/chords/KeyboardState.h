#pragma once
// The input side's own state, kept in the application state: the spinners that shift what is
// played, the split zones, and what the input remembers per channel and key. The functions
// that read and apply the keyboard layout are in chords/KeyboardLayout.h. Control thread only.

#include <array>
#include <cstdint>

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

}  // namespace chordella::chords
