// The computer keyboard: chord-type keys, chord keys and melody keys.

#include <gtest/gtest.h>

#include "EntryRig.h"
#include "chords/ComputerKeys.h"

namespace chordella::testing {
namespace {

constexpr int ShiftKey = 0x10;
constexpr chords::EntryModifiers Shift{.Shift = true};

TEST(TypeKeys, ADigitHeldBeforeTheChordKeyChoosesItsTypeAndShiftMinor) {
    EntryRig rig;
    for (const auto& [digit, chord] : {std::pair{'2', "C 7th"}, {'3', "C min7"}}) {
        rig.Entry.KeyDown(digit, false, {});
        rig.Tap('C');
        EXPECT_EQ(rig.Current(), chord);
        rig.Entry.KeyUp(digit, {});
        EXPECT_EQ(rig.Chords().TypeOverride, 0) << digit;
    }
    rig.Tap('C');
    EXPECT_EQ(rig.Current(), "C maj");

    // Shift plays minor, and any release with Shift down clears the type.
    rig.Entry.KeyDown(ShiftKey, false, Shift);
    rig.Entry.KeyDown('V', false, Shift);
    EXPECT_EQ(rig.Current(), "D min");
    rig.Entry.KeyUp('V', Shift);
    EXPECT_EQ(rig.Chords().TypeOverride, 0);
    EXPECT_EQ(rig.State().entry.HeldTypeKey, 0);
    rig.Tap('V');
    EXPECT_EQ(rig.Current(), "D maj");
}

TEST(TypeKeys, ATypeKeyWhileAChordIsPendingIsIgnored) {
    EntryRig rig;
    rig.ClockRuns();
    rig.Tap('C');
    ASSERT_NE(rig.Engine().PendingRoot, 0);
    EXPECT_TRUE(rig.Entry.KeyDown('2', false, {})) << "taken, but without effect";
    EXPECT_EQ(rig.Chords().TypeOverride, 0);
    EXPECT_EQ(rig.State().entry.HeldTypeKey, 0);
}

TEST(ChordKeys, AHeldChordKeyBlocksOtherChordKeysAndItsOwnRepeats) {
    EntryRig rig;
    rig.ClockRuns();
    rig.Entry.KeyDown('C', false, {});
    rig.Session().Engine().DropPendingChord();  // as if the engine had taken it
    rig.Entry.KeyDown('C', true, {});
    rig.Entry.KeyDown('V', false, {});
    EXPECT_EQ(rig.Engine().PendingRoot, 0);
    rig.Entry.KeyUp('C', {});
    rig.Entry.KeyDown('V', false, {});
    EXPECT_EQ(rig.Pending(), "D maj");
}

TEST(MelodyKeys, TheUpperRowPlaysMelodyAnOctaveUpFollowingTheChordRepeatsSendNothingAndTheReleaseGoesWhereThePressWent) {
    EntryRig rig;
    rig.Recogniser.SetChord(62, 2, chords::NoOffset);  // D min
    rig.Engine().KeyboardOctave = 1;
    rig.Out.Clear();
    EXPECT_TRUE(rig.Entry.KeyDown('T', false, {}));
    rig.Entry.KeyDown('T', true, {});
    rig.Entry.KeyDown('T', false, {});
    const auto ons = rig.Out.NoteOns(0);
    ASSERT_EQ(ons.size(), 1u);
    EXPECT_EQ(ons[0].Data1, 60 + 12 + 2) << "T is C above middle C, moved onto D, an octave up";
    EXPECT_TRUE((ons[0].Data2 >= 85 && ons[0].Data2 <= 100) || (ons[0].Data2 >= 106 && ons[0].Data2 <= 110)) << ons[0].Data2;
    EXPECT_EQ(rig.Current(), "D min") << "a melody key sets no chord";

    rig.Recogniser.SetChord(64, 1, chords::NoOffset);
    rig.Entry.KeyUp('T', {});
    const auto offs = rig.Out.NoteOffs(0);
    ASSERT_EQ(offs.size(), 1u);
    EXPECT_EQ(offs[0].Data1, ons[0].Data1);
}

TEST(MelodyKeys, WithTheAccompanimentOffChordKeysPlayMelody) {
    EntryRig rig;
    rig.State().transport.AccompanimentOn = 0;
    EXPECT_FALSE(rig.Entry.KeyDown('2', false, {})) << "no type keys without the accompaniment";
    rig.Entry.KeyDown('C', false, {});
    ASSERT_EQ(rig.Out.NoteOns(0).size(), 1u);
    EXPECT_EQ(rig.Out.NoteOns(0)[0].Data1, 48);
    EXPECT_EQ(rig.Chords().CurrentRoot, chords::NoCurrentChord);
}

TEST(MelodyKeys, InSplitModeTheKeysPlayOnTheSplitZonesChannels) {
    EntryRig rig;
    rig.Options().KeyboardSplit = true;
    rig.Keyboard().Zones[1] = {60, true, 3, 12};
    rig.Keyboard().Zones[2] = {90, true, 5, 0};
    rig.Entry.KeyDown('X', false, {});  // zone 3: melody in split mode, accompaniment or not
    rig.Entry.KeyDown('Q', false, {});  // the upper row
    ASSERT_EQ(rig.Out.NoteOns(2).size(), 1u);
    EXPECT_EQ(rig.Out.NoteOns(2)[0].Data1, 47 + 12);
    ASSERT_EQ(rig.Out.NoteOns(4).size(), 1u);
    EXPECT_EQ(rig.Out.NoteOns(4)[0].Data1, 41 + 12 + 12);
    rig.Entry.KeyUp('X', {});
    rig.Entry.KeyUp('Q', {});
    EXPECT_EQ(rig.Out.NoteOffs(2).size(), 1u);
    EXPECT_EQ(rig.Out.NoteOffs(4).size(), 1u);
}

TEST(KeyLayout, TheSecondLayoutSwapsYAndZ) {
    EntryRig rig;
    rig.Tap('Y');
    EXPECT_EQ(rig.Current(), "A maj");

    rig.Options().ComputerKeyboardLayout = chords::SwappedLayout;
    rig.Tap('Z');
    EXPECT_EQ(rig.Current(), "A maj");
    rig.Recogniser.SetChord(60, 1, chords::NoOffset);
    rig.Out.Clear();
    rig.Tap('Y');
    EXPECT_EQ(rig.Current(), "C maj") << "Y is the upper row's melody key now";
    EXPECT_EQ(rig.Out.NoteOns(0).size(), 1u);
    EXPECT_EQ(chords::KeyLayoutMap(0xDB, chords::SwappedLayout), 0xBA);
    EXPECT_EQ(chords::KeyLayoutMap('A', chords::SwappedLayout), 'A');
}

TEST(KeyCodes, KeysWithoutAMeaningAndWildCodesAreLeftToTheWindowAndReleaseAllEndsEveryMelodyNoteOnce) {
    EntryRig rig;
    for (int code : {-1, 256, 100000, 0x70, 0x20, 0x08, 0xDB, 0x79}) {
        EXPECT_FALSE(rig.Entry.KeyDown(code, false, {})) << code;
        EXPECT_FALSE(rig.Entry.KeyUp(code, {})) << code;
    }
    EXPECT_TRUE(rig.Out.Messages.empty());
    EXPECT_EQ(rig.Chords().CurrentRoot, chords::NoCurrentChord);

    // Releasing all ends every melody note still sounding, once.
    rig.Entry.KeyDown('T', false, {});
    rig.Entry.KeyDown('Q', false, {});
    rig.Entry.ReleaseAll();
    EXPECT_EQ(rig.Out.NoteOffs(0).size(), 2u);
    rig.Entry.KeyUp('T', {});
    EXPECT_EQ(rig.Out.NoteOffs(0).size(), 2u) << "nothing is released twice";
}

TEST(FunctionKeys, F1FillsInOnlyOnceTheStyleRuns) {
    EntryRig rig;
    rig.ClockRuns();
    const data::ControlKeys& keys = rig.State().config.Keys;
    EXPECT_TRUE(rig.Entry.FunctionKey(4));
    EXPECT_EQ(rig.Engine().PendingCommandKey, keys.Ending);
    EXPECT_TRUE(rig.Entry.FunctionKey(1));
    EXPECT_EQ(rig.Engine().PendingCommandKey, keys.FillIn);
    EXPECT_FALSE(rig.Entry.FunctionKey(5));

    rig.Session().Style().player.StyleActive = 0;
    EXPECT_FALSE(rig.Entry.FunctionKey(1)) << "the window opens the help instead";
}

}  // namespace
}  // namespace chordella::testing
