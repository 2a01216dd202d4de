// SetChord: the one entry every chord source goes through on its way to the engine.
#include <gtest/gtest.h>

#include "chords/ChordFixture.h"
#include "core/Options.h"

namespace chordella::chords {
namespace {

using testing::ChordFixture;
using Notes = std::array<std::int16_t, 4>;

TEST(SetChord, StoresThePendingAndCurrentChordSubmitsItsFourNotesAndStartsTheStyleUnlessChordsArePlayed) {
    ChordFixture f;
    f.recogniser->SetChord(60, 4, NoOffset);  // C min7
    EXPECT_EQ(f.Pending(), std::make_pair(60, 4));
    EXPECT_EQ(f.Chords().CurrentRoot, 60);
    EXPECT_EQ(f.Chords().CurrentType, 4);
    ASSERT_EQ(f.engine.Submitted.size(), 1u);
    EXPECT_EQ(f.engine.Submitted[0], (Notes{60, 63, 67, 70}));

    f.recogniser->SetChord(64, 1, NoOffset);  // a triad doubles its root an octave up
    EXPECT_EQ(f.engine.Submitted.back(), (Notes{64, 68, 71, 76}));
    EXPECT_EQ(f.engine.StyleStartRequests, 2) << "chords drive the accompaniment";
    f.Options().PlayChords = true;
    f.recogniser->SetChord(60, 1, NoOffset);
    EXPECT_EQ(f.engine.StyleStartRequests, 2) << "played chords start no style";
}

TEST(SetChord, SetsWhatTheRecogniserFoundInTheSessionsHeldNotes) {
    ChordFixture f;
    for (const int key : {55, 52, 48}) f.Held().Add(key);  // G E C in the default zone from E 40
    const core::ChordPair found = f.recogniser->Recognise();
    ASSERT_EQ(std::make_pair(int{found.Root}, int{found.Type}), std::make_pair(48, 1));
    EXPECT_TRUE(f.engine.Submitted.empty()) << "recognising alone hands nothing on";
    f.recogniser->SetChord(found.Root, found.Type, 2);  // capo shift 2
    EXPECT_EQ(f.engine.Submitted.back(), (Notes{50, 54, 57, 62}));
    EXPECT_EQ(f.Held().Count, 3);
}

TEST(SetChord, IgnoresNoChordAndTypesNoTableKnowsButVoicesTypesBeyondTheNamedOnesAsMajor) {
    ChordFixture f;
    for (const auto& [root, type] : {std::pair{60, 0}, {0, 1}, {-12, 3}, {60, -1}, {60, 35}, {60, 200}})
        f.recogniser->SetChord(static_cast<std::int16_t>(root), static_cast<std::int16_t>(type), NoOffset);
    EXPECT_EQ(f.Pending(), std::make_pair(0, 0));
    EXPECT_TRUE(f.engine.Submitted.empty());
    f.recogniser->SetChord(60, 18, NoOffset);
    EXPECT_EQ(f.Pending(), std::make_pair(60, 18)) << "the engine's tables know types up to 34";
    EXPECT_EQ(f.engine.Submitted.back(), (Notes{60, 64, 67, 72}));
    f.recogniser->SetChord(60, 34, NoOffset);
    EXPECT_EQ(f.Pending(), std::make_pair(60, 34));
}

TEST(SetChord, AChosenTypeOverridesTheGivenOneUntilItsKeyIsReleasedAndAOneTimeTypeIsUsedOnceAndItsPadTurnsWhite) {
    ChordFixture f;
    f.Chords().TypeOverride = 9;
    f.recogniser->SetChord(60, 1, NoOffset);
    f.recogniser->SetChord(62, 2, NoOffset);
    EXPECT_EQ(f.Pending(), std::make_pair(62, 9));
    EXPECT_EQ(f.Chords().TypeOverride, 9);
    EXPECT_EQ(f.view->PadsReleased, 0);

    f.Chords().TypeOverride = 6;
    f.Chords().TypeOverrideOnce = true;
    f.recogniser->SetChord(60, 1, NoOffset);
    EXPECT_EQ(f.Pending(), std::make_pair(60, 6));
    EXPECT_EQ(f.Chords().TypeOverride, 0);
    EXPECT_FALSE(f.Chords().TypeOverrideOnce);
    EXPECT_EQ(f.view->PadsReleased, 1);
    f.recogniser->SetChord(60, 1, NoOffset);
    EXPECT_EQ(f.Pending(), std::make_pair(60, 1));
}

struct OneFinger { int Key; bool MajorMinor; int Root, Type; };

TEST(SetChord, TriadChordsTurnAMajorChordIntoTheTriadOfItsKeyAndLeaveOtherTypesAlone) {
    const OneFinger cases[] = {
        {69, false, 69, 2},  // A gives A minor
        {71, false, 71, 5},  // B gives B diminished
        {66, false, 66, 1},  // F sharp gives F sharp major
        {62, false, 62, 2},  // D minor
        {64, true, 63, 1},   // E gives E flat major
        {62, true, 62, 5},   // D gives D diminished
        {60, true, 60, 2},   // C minor
        {69, true, 68, 1},   // A flat major
        {61, true, 61, 2},   // black keys give minor chords
    };
    for (const auto& c : cases) {
        ChordFixture f;
        f.Options().TriadChords = true;
        f.Options().MajorMinor = c.MajorMinor;
        f.recogniser->SetChord(static_cast<std::int16_t>(c.Key), 1, NoOffset);
        EXPECT_EQ(f.Pending(), std::make_pair(c.Root, c.Type)) << "key " << c.Key;
    }
    ChordFixture seventh;
    seventh.Options().TriadChords = true;
    seventh.recogniser->SetChord(69, 3, NoOffset);
    EXPECT_EQ(seventh.Pending(), std::make_pair(69, 3)) << "other types are left alone";
}

TEST(SetChord, MajorMinorSwapsMajorWithMinorAndSeventhWithMinorSeventh) {
    const std::pair<int, int> swaps[] = {{1, 2}, {2, 1}, {3, 4}, {4, 3}, {9, 9}, {5, 5}, {17, 17}};
    for (const auto& [given, expected] : swaps) {
        ChordFixture f;
        f.Options().MajorMinor = true;
        f.recogniser->SetChord(60, static_cast<std::int16_t>(given), NoOffset);
        EXPECT_EQ(f.engine.Pending.Type, expected) << "type " << given;
    }
}

TEST(SetChord, AddsOnlyTheOffsetsRemainderUnlessChordsArePlayed) {
    const std::tuple<bool, int, int> cases[] = {
        {false, 2, 62}, {false, 14, 62}, {false, -13, 59}, {false, -11, 49}, {false, 0, 60},
        {true, 14, 74}, {true, -13, 47}, {false, NoOffset, 60}, {true, NoOffset, 60},
    };
    for (const auto& [playChords, offset, root] : cases) {
        ChordFixture f;
        f.Options().PlayChords = playChords;
        f.recogniser->SetChord(60, 1, static_cast<std::int16_t>(offset));
        EXPECT_EQ(f.engine.Pending.Root, root) << "offset " << offset << (playChords ? " playing chords" : "");
    }
}

TEST(SetChord, KeepsTransposedChordsOnPlayableNotes) {
    ChordFixture f;
    f.Options().PlayChords = true;
    for (const auto& [root, offset] : {std::pair{5, -11}, {1, -1}, {120, 100}, {127, 0}, {32000, 0}, {3, -120}}) {
        f.recogniser->SetChord(static_cast<std::int16_t>(root), 7, static_cast<std::int16_t>(offset));
        const int placed = f.engine.Pending.Root;
        EXPECT_GE(placed, 1);
        EXPECT_LE(placed, 127);
        EXPECT_EQ(PitchClass(placed), PitchClass(root + offset)) << root << " + " << offset;
        for (const auto note : f.engine.Submitted.back()) {
            EXPECT_GE(note, 0);
            EXPECT_LE(note, 127);
        }
    }
}


}  // namespace
}  // namespace chordella::chords
