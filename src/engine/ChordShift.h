#pragma once
// Transposition of style notes from the C major chord they are written over to the chord
// being played, and the programs whose notes are re-voiced rather than cut at a chord change.

#include <array>
#include <cstdint>

namespace chordella::engine {

constexpr int ChordTypeCount = 34;

// Signed semitone shifts per chord type (row 1 … 34; row 0 is unused) and pitch class of
// the note (column 0 … 11, C = 0). A is applied to the note, B to the result of A.
extern const std::array<std::array<std::int8_t, 12>, ChordTypeCount + 1> ChordShiftA;
extern const std::array<std::array<std::int8_t, 12>, ChordTypeCount + 1> ChordShiftB;

// 1 for the General MIDI programs (0-based) whose notes sustain: 16 … 23, 40 … 44,
// 48 … 95, 97, 99, 101 … 103, 109 … 111.
extern const std::array<std::uint8_t, 128> SustainedPrograms;

// Any thread. True when `program` (0 … 127) is flagged; anything else (255 = unknown) is not.
bool IsSustainedProgram(int program);

// What a transposition needs besides the note and the chord.
struct TransposeSettings {
    int OctaveShift = 0;       // 0 or −12, added to every transposed note
    int OctaveThreshold = 12;  // pitch class above which notes are lowered an octave
    bool UpperNotesOnly = true;  // lower only notes above 66 (the re-voice lowers any note)
};

// Any thread. The note `note` (0 … 127) of a style written over C major, moved to the
// chord (root: MIDI note, type 1 … 34). A type outside 1 … 34 leaves the note as it is.
// A result that would leave 0 … 127 is moved by whole octaves back into the range, so it
// keeps its pitch class and never wraps around to the other end of the keyboard.
std::uint8_t TransposeNote(int note, int root, int type, const TransposeSettings& settings);

}  // namespace chordella::engine
