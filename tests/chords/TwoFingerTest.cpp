// Two-finger chords: the first key sets a major chord, the second key's distance its type.
#include <gtest/gtest.h>

#include <limits>

#include "chords/ChordFixture.h"

namespace chordella::chords {
namespace {

using testing::ChordFixture;

std::pair<int, int> Pair(core::ChordPair chord) { return {chord.Root, chord.Type}; }

TEST(TwoFingerChords, TheSecondKeysDistanceChoosesTheTypeByTheSlotMap) {
    const std::tuple<int, int, int> cases[] = {
        // second key, expected root, expected type
        {64, 60, 5},   // 4 up: "dim"
        {57, 57, 4},   // 3 down: the lower key is the root, "min7"
        {71, 60, 1},   // 11 apart: "maj"
        {60, 60, 1},   // the same key: "maj"
        {61, 60, 2},   // 1: "min"
        {70, 60, 11},  // 10: "6th"
        {72, 60, 2},   // an octave counts as 1
    };
    for (const auto& [second, root, type] : cases) {
        ChordFixture f;
        f.recogniser->TwoFingerKey(60);
        EXPECT_EQ(Pair(f.recogniser->TwoFingerKey(second)), std::make_pair(root, type)) << "second key " << second;
        EXPECT_EQ(f.engine.Submitted.size(), 1u) << "the input's common step sets the chord";
    }
    ChordFixture f;
    ReadChordTypes(f.Chords().SlotMap, "17");  // slot 2, one semitone, becomes "sus7"
    f.recogniser->TwoFingerKey(60);
    EXPECT_EQ(Pair(f.recogniser->TwoFingerKey(61)), std::make_pair(60, 17)) << "distances follow the slot map";
}

TEST(TwoFingerChords, AKeyAfterTheEngineTookTheChordOrARootChosenBelowStartsANewOneAndKeysOffTheKeyboardStayPlayable) {
    ChordFixture f;
    EXPECT_EQ(Pair(f.recogniser->TwoFingerKey(60)), std::make_pair(60, 1)) << "the pending chord goes on";
    f.engine.DropPendingChord();  // applied by the engine
    EXPECT_EQ(Pair(f.recogniser->TwoFingerKey(64)), std::make_pair(64, 1));
    EXPECT_EQ(f.engine.Submitted.size(), 2u);

    ChordFixture below;
    below.recogniser->TwoFingerKey(60);
    below.recogniser->TwoFingerKey(57);  // A min7, the first key forgotten
    EXPECT_EQ(Pair(below.recogniser->TwoFingerKey(67)), std::make_pair(67, 1))
        << "a key after a root chosen below starts a new chord";

    ChordFixture off;  // keys off the keyboard still give playable chords
    EXPECT_EQ(Pair(off.recogniser->TwoFingerKey(-3)), std::make_pair(0, 0)) << "no key, no chord";
    for (const int key : {135, -20, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
        const core::ChordPair chord = off.recogniser->TwoFingerKey(key);
        EXPECT_GE(chord.Root, 1) << key;
        EXPECT_LE(chord.Root, 127) << key;
        EXPECT_GE(chord.Type, 1) << key;
    }
}

}  // namespace
}  // namespace chordella::chords
