#pragma once
// Chord codes: a chord carried in one control change, so that another arranger or a
// sequencer can follow (or record) the chords played here. Types 1 … 10 go on controller 20
// as (type − 1) × 12 + pitch class, types 11 … 20 on controller 19 as (type − 11) × 12 +
// pitch class. Values 0 … 119 are chords; 120 and 121 switch "Melody Ad Lib": 120 on,
// 121 off, in both directions.

#include <cstdint>
#include <optional>

namespace chordella::midi {
class MidiOut;
}

namespace chordella::chords {

inline constexpr int ChordCodeLowController = 19;   // types 11 … 20
inline constexpr int ChordCodeHighController = 20;  // types 1 … 10
inline constexpr int AdLibOnCode = 120;
inline constexpr int AdLibOffCode = 121;

struct ChordCodeMessage {
    std::uint8_t Controller = 0;
    std::uint8_t Value = 0;
};

// The code of a chord; none for a type outside 1 … 20.
std::optional<ChordCodeMessage> ChordCode(int root, int type);

// A received code read back: the type and the root's pitch class. None for controllers
// other than 19 and 20 and for values that are no chord (above 119, or not a data byte).
struct DecodedChord {
    int Type = 0;
    int PitchClass = 0;
};
std::optional<DecodedChord> DecodeChordCode(int controller, int value);

bool IsChordCodeController(int controller);

// Sends the chord's code as a control change on the channel (0 … 15). False when the type
// has no code or the output is closed. Control thread; allocates nothing.
bool SendChordCode(midi::MidiOut& out, int channel, int root, int type);
// Sends controller 20 with 120 (ad lib on) or 121 (off). Control thread.
bool SendAdLibCode(midi::MidiOut& out, int channel, bool adLibOn);

}  // namespace chordella::chords
