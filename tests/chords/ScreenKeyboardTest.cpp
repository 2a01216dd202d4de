// The on-screen keyboard: which note a point hits, how loud, and what the window does with it.

#include <gtest/gtest.h>

#include "EntryRig.h"
#include "chords/ScreenKeyboard.h"

namespace chordella::testing {
namespace {

using chords::ScreenKeyboard;

constexpr int Deep = 45;   // below the black keys of the default 50-pixel keyboard
constexpr int Upper = 5;   // among the black keys

TEST(ScreenKeys, WhiteKeysFollowTheScaleFromTheBaseOctaveAndBlackKeysLieInTheUpperPartWhereTheyExist) {
    const ScreenKeyboard keys;
    EXPECT_EQ(keys.NoteAt(5, Deep), 36);
    EXPECT_EQ(keys.NoteAt(15, Deep), 38);
    EXPECT_EQ(keys.NoteAt(35, Deep), 41);
    EXPECT_EQ(keys.NoteAt(65, Deep), 47);
    EXPECT_EQ(keys.NoteAt(75, Deep), 48) << "the next octave";
    // Black keys are hit only in the upper part and only where they exist.
    EXPECT_EQ(keys.NoteAt(10, Upper), 37) << "across the C-D border";
    EXPECT_EQ(keys.NoteAt(10, keys.BlackLength() - 1), 37);
    EXPECT_EQ(keys.NoteAt(10, keys.BlackLength()), 38) << "below the black key: D";
    EXPECT_EQ(keys.NoteAt(1, Upper), 36) << "C has no black key to its left";
    EXPECT_EQ(keys.NoteAt(29, Upper), 40) << "no black key between E and F";
    EXPECT_EQ(keys.NoteAt(30, Upper), 41);
    EXPECT_EQ(keys.NoteAt(5, Upper), 36) << "the middle of a white key stays white";
}

TEST(ScreenKeys, PointsOffTheKeyboardOrOffTheNoteRangeHitNothingAndAClickNearTheTipIsLoud) {
    ScreenKeyboard keys;
    EXPECT_EQ(keys.NoteAt(-1, Deep), -1);
    EXPECT_EQ(keys.NoteAt(keys.Width, Deep), -1);
    EXPECT_EQ(keys.NoteAt(5, keys.Height), -1);
    keys.BaseOctave = 10;  // 120 … : G above 127 is no note
    EXPECT_EQ(keys.NoteAt(5, Deep), 120);
    EXPECT_EQ(keys.NoteAt(45, Deep), 127);
    EXPECT_EQ(keys.NoteAt(55, Deep), -1);
    keys.BaseOctave = -1;
    EXPECT_EQ(keys.NoteAt(5, Deep), -1);

    // A click near the tip is loud, near the edge soft.
    EXPECT_EQ(keys.VelocityAt(keys.KeyLength() - 1), 127);
    EXPECT_GE(keys.VelocityAt(0), 1);
    EXPECT_LE(keys.VelocityAt(0), 5);
    EXPECT_LT(keys.VelocityAt(10), keys.VelocityAt(30));
    keys.VelocityMode = false;
    EXPECT_EQ(keys.VelocityAt(0), 127);
}

TEST(ScreenKeys, AVerticalKeyboardRisesFromTheBottomWithItsTipsToTheRight) {
    ScreenKeyboard keys;
    keys.Orientation = chords::KeyboardOrientation::Vertical;
    keys.Width = 50;
    keys.Height = 200;
    EXPECT_EQ(keys.NoteAtPoint(Deep, 199), 36);
    EXPECT_EQ(keys.NoteAtPoint(Deep, 199 - 15), 38);
    EXPECT_EQ(keys.NoteAtPoint(Upper, 199 - 10), 37);
    EXPECT_GT(keys.VelocityAtPoint(49, 100), keys.VelocityAtPoint(2, 100));
}

TEST(ScreenKeys, EveryDrawnKeyIsTheKeyItsMiddleHits) {
    for (const auto orientation : {chords::KeyboardOrientation::Horizontal, chords::KeyboardOrientation::Vertical}) {
        const bool vertical = orientation == chords::KeyboardOrientation::Vertical;
        ScreenKeyboard keys;
        keys.Orientation = orientation;
        keys.NoteWidth = 30;
        keys.Width = vertical ? 80 : 900;
        keys.Height = vertical ? 900 : 80;
        const auto rects = keys.Keys();
        // 30 white keys; the black keys of four octaves and the C# and D# of the fifth, the
        // last one cut off by the keyboard's end.
        EXPECT_EQ(rects.size(), 30u + 22u);
        for (const chords::KeyRect& r : rects) {
            // A white key is checked near its tip, where no black key covers it.
            const int x = !r.Black && vertical ? r.X + r.W - 2 : r.X + r.W / 2;
            const int y = !r.Black && !vertical ? r.Y + r.H - 2 : r.Y + r.H / 2;
            EXPECT_EQ(keys.NoteAtPoint(x, y), r.Note) << r.X << "," << r.Y;
        }
    }
}

TEST(ScreenEntry, WithTheAccompanimentOnANoteSetsAChordOfTheOverrideTypeAndOffItIsMelody) {
    EntryRig rig;
    rig.Entry.ScreenNoteOn(64, 90);
    EXPECT_EQ(rig.Current(), "E maj");
    rig.Chords().TypeOverride = 2;
    rig.Entry.ScreenNoteOn(57, 90);
    EXPECT_EQ(rig.Current(), "A min");
    rig.Entry.ScreenNoteOn(128, 90);
    rig.Entry.ScreenNoteOn(-3, 90);
    EXPECT_EQ(rig.Current(), "A min");

    // With the accompaniment off a note is melody, released where it sounded.
    rig.Chords().TypeOverride = 0;
    rig.Recogniser.SetChord(62, 2, chords::NoOffset);  // D min
    rig.State().transport.AccompanimentOn = 0;
    rig.Out.Clear();
    rig.Entry.ScreenNoteOn(60, 77);
    ASSERT_EQ(rig.Out.NoteOns(0).size(), 1u);
    EXPECT_EQ(rig.Out.NoteOns(0)[0].Data1, 62) << "C moved onto the chord's root";
    EXPECT_EQ(rig.Out.NoteOns(0)[0].Data2, 77);
    rig.Recogniser.SetChord(64, 1, chords::NoOffset);
    rig.Entry.ScreenNoteOff(60, 64);
    ASSERT_EQ(rig.Out.NoteOffs(0).size(), 1u);
    EXPECT_EQ(rig.Out.NoteOffs(0)[0].Data1, 62);
    EXPECT_EQ(rig.Out.NoteOns(0).size(), 1u) << "a release velocity never sounds a note again";
}

}  // namespace
}  // namespace chordella::testing
