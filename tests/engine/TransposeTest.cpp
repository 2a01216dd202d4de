// The transposition of style notes from C major to the chord played.

#include <gtest/gtest.h>

#include "engine/ChordShift.h"
#include "engine/EngineState.h"

namespace chordella::engine {
namespace {

int PitchClass(int n) { return ((n % 12) + 12) % 12; }

// The note as the rule computes it without any folding into the MIDI range.
int Unfolded(int note, int root, int type, const TransposeSettings& s) {
    const int n1 = note + ChordShiftA[static_cast<std::size_t>(type)][static_cast<std::size_t>(note % 12)];
    int n2 = n1 + ChordShiftB[static_cast<std::size_t>(type)][static_cast<std::size_t>(PitchClass(n1))] +
             PitchClass(root) + s.OctaveShift;
    if (PitchClass(root) > s.OctaveThreshold && (!s.UpperNotesOnly || n2 > 66)) n2 -= 12;
    return n2;
}

TEST(Transpose, EMinorMovesE4ToG4AdjustOctaveLowersOnlyHighNotesAndUnknownTypesChangeNothing) {
    EXPECT_EQ(TransposeNote(64, 52, 2, TransposeSettings{}), 67);
    for (int type : {0, 35, 99, -1, 32767}) EXPECT_EQ(TransposeNote(64, 53, type, TransposeSettings{}), 64);
    const TransposeSettings adjust{0, 7, true};
    EXPECT_EQ(TransposeNote(72, 57, 1, adjust), 72 + 9 - 12) << "A major, high note lowered";
    EXPECT_EQ(TransposeNote(48, 57, 1, adjust), 48 + 9) << "low notes stay";
    EXPECT_EQ(TransposeNote(72, 55, 1, adjust), 72 + 7) << "G is not above the threshold";
    const TransposeSettings revoice{0, 7, false};
    EXPECT_EQ(TransposeNote(48, 57, 1, revoice), 48 + 9 - 12) << "the re-voice lowers any note";
}

TEST(Transpose, EveryChordOnEveryRootStaysInsideTheMidiRangeWithoutWrapping) {
    for (int type = 1; type <= ChordTypeCount; ++type) {
        for (int root = 0; root < 128; ++root) {
            for (const TransposeSettings s : {TransposeSettings{0, 12, true}, TransposeSettings{-12, 12, true},
                                              TransposeSettings{0, 7, true}, TransposeSettings{-12, 7, false}}) {
                for (int note = 0; note < 128; ++note) {
                    const int got = TransposeNote(note, root, type, s);
                    const int want = Unfolded(note, root, type, s);
                    ASSERT_TRUE(got >= 0 && got <= 127) << "type " << type << " root " << root << " note " << note;
                    ASSERT_EQ(PitchClass(got), PitchClass(want)) << "type " << type << " note " << note;
                    if (want >= 0 && want <= 127) {
                        ASSERT_EQ(got, want);
                    } else {
                        // Folded by the fewest octaves, to the nearest end of the range.
                        ASSERT_TRUE(want > 127 ? got > 115 : got < 12) << "type " << type << " note " << note;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace chordella::engine
