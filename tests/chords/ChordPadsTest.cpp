// Chord pads, function pads and section buttons of the main window.

#include <gtest/gtest.h>

#include <string>

#include "EntryRig.h"
#include "chords/ChordPads.h"

namespace chordella::testing {
namespace {

std::string WithoutSpaces(std::string text) {
    std::erase(text, ' ');
    return text;
}

TEST(PadNames, OnlyTheWindowsOwnPadNamesMeanAnything) {
    for (const char* name : {"A00", "K11", "O05", "M00", "M23", "L00", "L04"}) {
        EXPECT_TRUE(chords::ParsePadName(name).has_value()) << name;
    }
    for (const char* name : {"", "A", "A0", "A000", "A12", "L05", "M24", "N00", "P00", "a00", "A-1", "A1x", "Z99"}) {
        EXPECT_FALSE(chords::ParsePadName(name).has_value()) << name;
    }
    const auto extra = chords::ParsePadName("O03");
    ASSERT_TRUE(extra);
    EXPECT_EQ(extra->Slot, 15);
    EXPECT_EQ(extra->Root, 55);
}

TEST(PadNames, WildNamesChangeNothingWhenClicked) {
    EntryRig rig;
    rig.Options().EditBox = true;
    for (const char* name : {"", "L9", "Q00", "M99", "\xff\xfe\x00", "A00 "}) rig.Click(name);
    EXPECT_TRUE(rig.Editor.Taken.empty());
    EXPECT_FALSE(rig.State().entry.PadHeld);
    EXPECT_TRUE(rig.Out.Messages.empty());
}

TEST(ChordPads, RowIsTheConfiguredSlotAndColumnTheRootCountedFromE) {
    EntryRig rig;
    rig.ClockRuns();
    rig.Entry.PadDown("D04", {});
    EXPECT_EQ(rig.Pending(), "Ab min7");
    rig.Entry.PadDown("A00", {});
    EXPECT_EQ(rig.Pending(), "E maj");
    rig.Entry.PadDown("B11", {});
    EXPECT_EQ(rig.Pending(), "Eb min");
    chords::ReadChordTypes(rig.Chords().SlotMap, "04");  // slot 2 becomes "min7"
    rig.Entry.PadDown("B08", {});
    EXPECT_EQ(rig.Pending(), "C min7");
}

TEST(FunctionPads, EachPadPlaysTheChordItsCaptionNames) {
    EntryRig rig;
    rig.ClockRuns();
    for (int n = 0; n < chords::FunctionPadCount; ++n) {
        const std::string pad = (n < 10 ? "M0" : "M") + std::to_string(n);
        rig.Entry.PadDown(pad, {});
        EXPECT_EQ(WithoutSpaces(rig.Pending()), chords::FunctionPadCaption(n)) << pad;
        EXPECT_FALSE(chords::FunctionPadHint(n).empty()) << pad;
        rig.Entry.PadUp(pad);
    }
    EXPECT_TRUE(chords::FunctionPadCaption(24).empty());
    EXPECT_TRUE(chords::FunctionPadHint(-1).empty());
}

TEST(PadEditor, WithEditTickedAPadOrInEntryModeASectionButtonGoesToTheEditorUnlessTheChordMemoryPlays) {
    EntryRig rig;
    rig.Options().EditBox = true;
    rig.Entry.PadDown("B00", {});
    EXPECT_TRUE(rig.State().entry.PadHeld);
    EXPECT_TRUE(rig.Editor.Taken.empty()) << "the editor takes the chord at the release";
    rig.Entry.PadUp("B00");
    ASSERT_EQ(rig.Editor.Taken.size(), 1u);
    EXPECT_EQ(rig.Editor.Taken[0], std::make_pair(52, 2));
    EXPECT_FALSE(rig.State().entry.PadHeld);
    EXPECT_EQ(rig.Chords().CurrentRoot, chords::NoCurrentChord);
    EXPECT_TRUE(rig.Recogniser.NoChordMarked()) << "a style has no chord to follow until the next one";
    EXPECT_EQ(rig.Engine().PendingRoot, 0);
    EXPECT_TRUE(rig.Out.Messages.empty());

    rig.Editor.EntryMode = true;  // the editor's entry mode takes section buttons as slot 12
    rig.Click("L01");
    ASSERT_EQ(rig.Editor.Taken.size(), 2u);
    EXPECT_EQ(rig.Editor.Taken[1], std::make_pair(rig.State().config.Keys.ToBasic, 12));
    EXPECT_EQ(rig.Engine().PendingCommandKey, 0);

    rig.ClockRuns();
    rig.State().transport.ChordPlayMode = -1;  // while the chord memory plays the pad plays its chord
    rig.Click("C03");
    EXPECT_EQ(rig.Editor.Taken.size(), 2u);
    EXPECT_EQ(rig.Pending(), "G 7th");
}

TEST(SectionButtons, EachButtonStoresItsSectionKeyOrBeforeTheStyleStartsPlaysCMajor) {
    EntryRig rig;
    rig.ClockRuns();  // the key waits for the engine instead of being applied at once
    const data::ControlKeys& keys = rig.State().config.Keys;
    rig.Click("L00");
    EXPECT_EQ(rig.Engine().PendingCommandKey, keys.FillIn);
    rig.Click("L03");
    EXPECT_EQ(rig.Engine().PendingCommandKey, keys.ToExtended);
    rig.Click("L04");
    EXPECT_EQ(rig.Engine().PendingCommandKey, keys.Intro);
    rig.Click("L01", {.Shift = true});
    EXPECT_EQ(rig.Engine().PendingCommandKey, keys.Intro) << "Shift-click asks for the intro";
    EXPECT_EQ(rig.Engine().PendingCommandValue, chords::SectionKeyCode);

    // Before the style starts they play C major, or nothing without a style.
    rig.Engine().PendingCommandKey = 0;
    rig.Session().Style().player.StyleActive = 0;
    rig.Click("L00");
    EXPECT_EQ(rig.Engine().PendingRoot, 0);
    EXPECT_EQ(rig.Peers.PlayRequests, 0);

    rig.Session().Style().style.StyleLength = 100;
    rig.Click("L00");
    EXPECT_EQ(rig.Pending(), "C maj");
}

TEST(SectionButtons, AShiftClickFollowingAnExternalClockStopsItAndSoundsTheChordAgain) {
    EntryRig rig;
    rig.Recogniser.SetChord(62, 2, chords::NoOffset);
    rig.Entry.SetClock(&rig.Clock);
    rig.Options().SlaveMode = true;
    rig.Clock.ToggleClock();
    ASSERT_EQ(rig.State().clock.ClockState, -1);
    rig.Chords().CurrentRoot = 62;
    rig.Chords().CurrentType = 2;
    rig.Click("L00", {.Shift = true});
    EXPECT_EQ(rig.State().clock.ClockState, 0);
    EXPECT_EQ(rig.Engine().PendingCommandKey, 0);
    EXPECT_EQ(rig.Current(), "D min");
}

}  // namespace
}  // namespace chordella::testing
