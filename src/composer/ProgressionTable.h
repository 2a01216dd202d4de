#pragma once
// The table of 100 common chord progressions the song creator builds songs from, and how
// its chords are written as numerals ("I", "vi", "V7", "#IV°").
//
// A row holds up to 16 chords and a terminator in two parallel arrays: root codes and
// chord-type indices. A root code is the root's pitch class in C major minus 4, mod 12
// (8 = I, 1 = IV, 3 = V, 5 = vi); −1 ends the row. A type index is the chord type minus 1
// (0 = maj, 1 = min, 2 = 7th …). The rows fall into five sections; the first row of a
// section carries " --- " + the section's label in its name, the table's last row " --- END".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace chordella::composer {

inline constexpr int ProgressionRows = 100;
inline constexpr int ProgressionSlots = 17;
inline constexpr int MaxProgressionChords = 16;

// Where the sections start, and the sections' labels as they appear in the names.
inline constexpr int Section1Start = 0;
inline constexpr int Section2Start = 43;
inline constexpr int Blues8Start = 75;
inline constexpr int Blues16Start = 84;
inline constexpr int Blues12Start = 90;
inline constexpr std::string_view SectionSuffixMark = " --- ";

struct CommonProgression {
    std::string_view Name;  // with its section suffix where it has one
    std::array<std::int32_t, ProgressionSlots> RootCodes;
    std::array<std::int32_t, ProgressionSlots> Types;
};

extern const std::array<CommonProgression, ProgressionRows> CommonProgressions;

// The row's name without a section suffix.
std::string_view BaseName(int row);
// The section label a row's name carries ("SECTION 1" … "END"), empty when none.
std::string_view SectionSuffix(int row);
// Chords before the terminator (0 for a row outside the table).
int ChordCount(int row);
// The smallest of 4, 8, 12 and 16 chords that holds the row.
int PhraseLength(int row);

// Degree 0 … 11 above the key's tonic of a root code.
constexpr int DegreeOf(int rootCode) { return ((rootCode + 4) % 12 + 12) % 12; }
// One chord as a numeral: the degree in upper or lower case (lower for the minor-like
// types) and the type's suffix. Type indices outside 0 … 16 are written as major.
std::string Numeral(int rootCode, int typeIndex);
// The row's chords as numerals joined by " - ".
std::string RowNumerals(int row);

// The list entry of a row in the progression list: "000. " + its name.
std::string ListEntryText(int row);

}  // namespace chordella::composer
