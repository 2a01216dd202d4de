#pragma once
// The seventeen chord types: a display name and four chord tones each, plus the tables of
// the one-finger triad mode. Three-note types list their root twice (0 and 12): the
// recogniser counts a doubled root twice, and every chord still yields four notes.

#include <array>
#include <cstdint>
#include <string_view>

#include "midi/PitchClass.h"

namespace chordella::chords {

// Type numbers: 1 … 17 are rows of the table; 0 means no chord. Received chord codes can
// carry 18 … 20 and songs up to 34; the engine's transposition tables know those, this
// table does not, so they are named and voiced as a major chord.
inline constexpr int TableTypes = 17;
inline constexpr int MaxCodedType = 20;
inline constexpr int MaxStoredType = 34;
// RecogniseChord's highest type index when all seventeen types are candidates.
inline constexpr int AllTypesIndex = TableTypes - 1;

struct ChordTypeRow {
    std::string_view Name;
    std::array<std::int8_t, 4> Tones;  // semitones above the root; 12 = root an octave up, 14 = ninth
};

// Rows 1 … 17 at indexes 0 … 16.
extern const std::array<ChordTypeRow, TableTypes> ChordTypeTable;

// True for the types of the table (1 … 17).
constexpr bool IsTableType(int type) { return type >= 1 && type <= TableTypes; }
// True for every type a chord may carry (1 … 34).
constexpr bool IsChordType(int type) { return type >= 1 && type <= MaxStoredType; }

// The type's name; a type outside the table is named "maj".
std::string_view TypeName(int type);
// The type's four chord tones; a type outside the table has the major chord's tones.
const std::array<std::int8_t, 4>& ChordTones(int type);

// Pitch class 0 … 11 (C = 0) of any note number, negative ones included.
using midi::PitchClass;

// One-finger "Triad chords": the type a single key gives, by pitch class. The major table
// gives the chords of C major (black keys major); the minor table those of C minor, with a
// root lowered by the correction (E gives E flat major, A gives A flat, B gives B flat).
extern const std::array<std::uint8_t, 12> MajorTriadType;
extern const std::array<std::uint8_t, 12> MinorTriadType;
extern const std::array<std::uint8_t, 12> MinorTriadRootCorrection;

}  // namespace chordella::chords
