// How chords and keys are named and shown.
#include "chords/ChordNames.h"

#include <gtest/gtest.h>

#include "chords/ChordFixture.h"
#include "core/Options.h"

namespace chordella::chords {
namespace {

using testing::ChordFixture;

TEST(ChordName, NamesAnyRootAndTypeAsFingeredBelowACapoAndTypesOutsideTheTableAsMajor) {
    const std::tuple<int, int, int, const char*> cases[] = {
        // capo, root, type, name
        {2, 62, 1, "C maj"}, {2, 60, 2, "Bb min"}, {11, 60, 1, "Db maj"}, {0, 60, 18, "C maj"},
        {0, 60, 0, "C maj"}, {0, 60, -7, "C maj"}, {0, 60, 32767, "C maj"}, {0, 128, 1, "Ab maj"},
        {0, 32767, 1, "G maj"}, {0, -1, 2, "B min"},
    };
    for (const auto& [capo, root, type, name] : cases) {
        ChordState state;
        state.CapoPosition = capo;
        EXPECT_EQ(ChordName(state, root, type), name) << "capo " << capo << ", root " << root << ", type " << type;
    }
    ChordState state;
    state.CapoPosition = -30;
    EXPECT_EQ(ChordName(state, 200, 5).View().substr(0, 1).size(), 1u);
}

// ShowChord puts the name in the title, and in the panels when asked unless the preview has them.
TEST(ChordName, FollowsFlatOrSharpSpellingAndIsShownInTheTitleAndPanels) {
    ChordFixture f;
    EXPECT_EQ(f.recogniser->ChordName(66, 1), "Gb maj");
    f.recogniser->ToggleSpelling();
    EXPECT_TRUE(f.Options().FlatSharp);
    EXPECT_EQ(f.recogniser->ChordName(66, 1), "F# maj");
    f.recogniser->ToggleSpelling();
    EXPECT_EQ(f.recogniser->ChordName(66, 1), "Gb maj");

    f.recogniser->ShowChord(64, 4, false);
    EXPECT_EQ(f.view->Title, "Chordella  -  Chord : E min7");
    EXPECT_TRUE(f.view->PanelName.empty());
    f.recogniser->ShowChord(62, 2, true);
    EXPECT_EQ(f.view->PanelName, "D min");
    f.engine.PreviewPastFirstMeasure = true;  // the panels belong to the preview now
    f.recogniser->ShowChord(60, 1, true);
    EXPECT_EQ(f.view->Title, "Chordella  -  Chord : C maj");
    EXPECT_EQ(f.view->PanelName, "D min");
    f.recogniser->ShowKey(9, true, 0);
    EXPECT_EQ(f.view->Key, "Key: A min");
}

TEST(KeyName, SpellsEachKeyAsItIsWritten) {
    const std::tuple<int, bool, int, const char*> cases[] = {
        {3, false, 0, "Key: Eb maj"}, {6, false, 0, "Key: F# maj"}, {1, true, 0, "Key: C# min"},
        {0, false, 2, "Key: D maj"},  // the keyboard transposition moves the key
        {10, false, -12, "Key: Bb maj"},
    };
    for (const auto& [note, minor, transposition, expected] : cases) {
        ChordState state;
        EXPECT_EQ(KeyName(state, note, minor, transposition, false), expected);
    }
}

TEST(KeyName, ChangesTheChordSpellingUnlessSignChangesAreSuppressed) {
    ChordState state;
    KeyName(state, 4, false, 0, false);  // E major: sharps
    EXPECT_EQ(ChordName(state, 61, 1), "C# maj");
    KeyName(state, 5, false, 0, true);  // F major, suppressed: still sharps
    EXPECT_EQ(ChordName(state, 61, 1), "C# maj");
    EXPECT_EQ(KeyName(state, 10, false, 0, true), "Key: A# maj");
    KeyName(state, 5, false, 0, false);
    EXPECT_EQ(ChordName(state, 61, 1), "Db maj");
}

}  // namespace
}  // namespace chordella::chords
