#pragma once
// Keys and chord groups of the song creator: the main window's key and mode lists, the
// key a song is built in, and the two groups of chords random songs draw from.

#include <array>
#include <cstdint>
#include <string_view>

namespace chordella::platform { class Random; }

namespace chordella::composer {

// The key list in fifths order, and the pitch class of each entry.
inline constexpr std::array<std::string_view, 12> KeyListNames = {"C", "G", "D", "A", "E", "B",
                                                                 "F#", "Db", "Ab", "Eb", "Bb", "F"};
inline constexpr std::array<int, 12> KeyListPitchClasses = {0, 7, 2, 9, 4, 11, 6, 1, 8, 3, 10, 5};
// The mode list, and the semitones each mode adds to reach the tonic of its major scale.
inline constexpr std::array<std::string_view, 7> ModeListNames = {
    "1. Major / Ionian", "2. Dorian", "3. Phrygian", "4. Lydian ", "5. Mixolydian", "6. N. Minor / Aeolian", "7. Locrian"};
inline constexpr std::array<int, 7> ModeOffsets = {0, 10, 8, 7, 5, 3, 1};
// "only from C,D,E,F,G,A,B": the ten pitch classes a random key is drawn from.
inline constexpr std::array<int, 10> WhiteKeyDraw = {0, 2, 4, 5, 7, 9, 11, 0, 2, 7};

// (key's pitch class + the mode's offset) mod 12: the tonic of the major scale holding the mode.
int SongKeyOf(int keyPitchClass, int modeIndex);
// A random key's pitch class: from the twelve keys, or from the white-key draw.
int RandomKey(platform::Random& random, bool onlyWhiteKeys);
// The key list entry whose name is `name` (case-insensitive; "Gb" and "C#" name their
// enharmonic entries), or −1.
int KeyListIndexOf(std::string_view name);

// Chord types by their code (1 … 17).
enum ChordTypeCode : int {
    Maj = 1, Min, Seventh, Min7, Dim, Sus4, Add9, FiveFlat, Major7, Aug, Sixth, MinMaj7, Min6, Min9, MinSevenFlatFive,
    Aug7, Sus7
};

struct GroupChord {
    int Degree;  // semitones above the group's tonic
    int Type;    // chord type code
};

inline constexpr int ChordGroupSize = 21;
// Degrees counted from the major key's tonic.
extern const std::array<GroupChord, ChordGroupSize> MajorChordGroup;
// Degrees counted from the minor section's tonic.
extern const std::array<GroupChord, ChordGroupSize> MinorChordGroup;

}  // namespace chordella::composer
