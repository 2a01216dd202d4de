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

TEST(Transpose, EMinorMovesE4ToG4AsInTheWorkedExample) {
    EXPECT_EQ(TransposeNote(64, 52, 2, TransposeSettings{}), 67);
}

TEST(Transpose, CMajorKeepsEveryNote) {
    for (int note = 0; note < 128; ++note) EXPECT_EQ(TransposeNote(note, 48, 1, TransposeSettings{}), note);
}

TEST(Transpose, TheRootIsAddedAfterBothShifts) {
    // G over D major: no shift for type 1, then + 2.
    EXPECT_EQ(TransposeNote(67, 50, 1, TransposeSettings{}), 69);
    // B over C type 3: A shifts column 11 by −1 (71 → 70); B looks at the new pitch
    // class 10, which it leaves alone.
    EXPECT_EQ(TransposeNote(71, 48, 3, TransposeSettings{}), 70);
    // G over C type 3: A +3 (67 → 70), B leaves column 10: 70, and on E: 74.
    EXPECT_EQ(TransposeNote(67, 52, 3, TransposeSettings{}), 74);
}

TEST(Transpose, AdjustOctaveLowersOnlyHighNotesForRootsAboveG) {
    const TransposeSettings adjust{0, 7, true};
    EXPECT_EQ(TransposeNote(72, 57, 1, adjust), 72 + 9 - 12) << "A major, high note lowered";
    EXPECT_EQ(TransposeNote(48, 57, 1, adjust), 48 + 9) << "low notes stay";
    EXPECT_EQ(TransposeNote(72, 55, 1, adjust), 72 + 7) << "G is not above the threshold";
    const TransposeSettings revoice{0, 7, false};
    EXPECT_EQ(TransposeNote(48, 57, 1, revoice), 48 + 9 - 12) << "the re-voice lowers any note";
}

TEST(Transpose, ATypeOutsideOneToThirtyFourLeavesTheNoteAlone) {
    for (int type : {0, 35, 99, -1, 32767}) EXPECT_EQ(TransposeNote(64, 53, type, TransposeSettings{}), 64);
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

TEST(SustainedPrograms, StringsAndPadsSustainPianosAndGuitarsDoNot) {
    EXPECT_TRUE(IsSustainedProgram(48));
    EXPECT_TRUE(IsSustainedProgram(16));
    EXPECT_TRUE(IsSustainedProgram(95));
    EXPECT_TRUE(IsSustainedProgram(111));
    EXPECT_FALSE(IsSustainedProgram(0));
    EXPECT_FALSE(IsSustainedProgram(24));
    EXPECT_FALSE(IsSustainedProgram(96));
    EXPECT_FALSE(IsSustainedProgram(100));
    EXPECT_FALSE(IsSustainedProgram(255)) << "an unknown program is not sustained";
    EXPECT_FALSE(IsSustainedProgram(-1));
}

}  // namespace
}  // namespace chordella::engine

namespace chordella::engine {
namespace {

TEST(OctaveBase, IsTheCAboveTheLowestChordKey) {
    EXPECT_EQ(OctaveBaseFor(36), 48);
    EXPECT_EQ(OctaveBaseFor(47), 48);
    EXPECT_EQ(OctaveBaseFor(0), 12);
    EXPECT_EQ(OctaveBaseFor(127), 132);
    EXPECT_EQ(OctaveBaseFor(-4), 12);
}

}  // namespace
}  // namespace chordella::engine
