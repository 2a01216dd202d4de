// The chord zone, the control keys and the triggered chords of the keyboard input.

#include <gtest/gtest.h>

#include "DispatchRig.h"
#include "chords/OperatingModes.h"

namespace chordella::testing {
namespace {

constexpr int C3 = 48, E3 = 52, G3 = 55, Bb3 = 58, A2 = 45;

TEST(KeyboardZones, KeysAroundTheDefaultChordZoneGoWhereTheirZoneSendsAndAControlKeyStartsAnIdleStyle) {
    DispatchRig rig;
    rig.ClockRuns();
    rig.Press(60);
    ASSERT_EQ(rig.Out.NoteOns(0).size(), 1u) << "60 lies above Last Acc. Key 59: melody";
    EXPECT_EQ(rig.Out.NoteOns(0)[0].Data1, 60);
    EXPECT_EQ(rig.Held().Count, 0);

    rig.Out.Clear();
    rig.Press(40);
    EXPECT_TRUE(rig.Out.Messages.empty()) << "40 is the first chord key: nothing is heard";
    ASSERT_EQ(rig.Held().Count, 1);
    EXPECT_EQ(rig.Held().Notes[0], 4);

    rig.Press(36);
    EXPECT_EQ(rig.Engine().PendingCommandKey, 36) << "the default fill-in key";
    EXPECT_EQ(rig.Engine().PendingCommandValue, chords::SectionKeyCode);
    EXPECT_TRUE(rig.Out.Messages.empty());

    rig.Engine().PendingCommandKey = 0;
    rig.Session().Style().player.StyleActive = 0;
    rig.Press(36);  // while the style is idle a control key starts playback instead
    EXPECT_EQ(rig.Peers.PlayRequests, 1);
    EXPECT_EQ(rig.Engine().PendingCommandKey, 0);
}

TEST(KeyboardZones, UseAllKeyboardKeysMakesEveryKeyAChordKeyAndChordsOffEveryKeyMelody) {
    DispatchRig rig;
    rig.ClockRuns();
    rig.Options().UseAllKeyboardKeys = true;
    rig.Press(36);
    rig.Press(28);
    rig.Press(79);
    EXPECT_EQ(rig.Engine().PendingCommandKey, 0);
    EXPECT_TRUE(rig.Out.Messages.empty());
    EXPECT_EQ(rig.Chords().CurrentRoot % 12, 0);
    EXPECT_EQ(rig.Chords().CurrentType, 1) << "C E G spread over the keyboard";

    rig.Options().UseAllKeyboardKeys = false;
    rig.Options().ChordInput = false;  // chords off sends the chord zone to the melody
    rig.Press(C3);
    rig.Press(36);
    EXPECT_EQ(rig.Out.NoteOns(0).size(), 2u);
    EXPECT_EQ(rig.Engine().PendingCommandKey, 0);
}

TEST(ChordZone, ReleasingAKeyEvenWithAReleaseVelocityKeepsTheChordAndAddingASeventhTurnsIt) {
    DispatchRig rig;
    rig.ClockRuns();
    rig.Press(C3);
    rig.Press(E3);
    EXPECT_EQ(rig.Engine().PendingType, 0) << "two keys are no chord yet";
    rig.Press(G3);
    EXPECT_EQ(rig.Engine().PendingRoot, 48);
    EXPECT_EQ(rig.Engine().PendingType, 1);

    rig.Release(E3);
    EXPECT_EQ(rig.Held().Count, 2);
    EXPECT_EQ(rig.Chords().CurrentRoot, 48);
    EXPECT_EQ(rig.Chords().CurrentType, 1) << "the chord stays in force";

    rig.Press(E3);
    EXPECT_EQ(rig.Chords().CurrentType, 1);
    rig.Press(Bb3);
    EXPECT_EQ(rig.Chords().CurrentRoot, 48);
    EXPECT_EQ(rig.Chords().CurrentType, 3) << "C 7th";

    rig.Send(0x80, Bb3, 64);  // a note-off with a release velocity releases too
    ASSERT_EQ(rig.Held().Count, 3);
    for (int i = 0; i < 3; ++i) EXPECT_NE(rig.Held().Notes[static_cast<std::size_t>(i)], Bb3 % 12);
}

TEST(ChordZone, TheKeyboardsAllNotesOffOrAllSoundOffForgetsAKeyWhoseReleaseWasLost) {
    for (const int controller : {123, 120}) {
        DispatchRig rig;
        rig.ClockRuns();
        for (int key : {C3, E3, G3}) rig.Press(key);
        rig.Release(E3);
        rig.Release(G3);  // the release of C3 never comes
        ASSERT_EQ(rig.Held().Count, 1);
        rig.Send(0xB0, controller, 0);
        EXPECT_EQ(rig.Held().Count, 0) << "controller " << controller;
        for (int key : {50, 53, 57}) rig.Press(key);  // D F A
        EXPECT_EQ(rig.Engine().PendingRoot % 12, 2) << "controller " << controller;
        EXPECT_EQ(rig.Engine().PendingType, 2) << "D minor, not spoilt by the lost C";
    }
}

TEST(ChordZone, TheSeventhKeyInARowEmptiesTheListAndTheChordStaysUntilThreeAreHeldAgain) {
    DispatchRig rig;
    rig.ClockRuns();
    for (int key : {C3, E3, G3, 50, 53, 57}) rig.Press(key);
    ASSERT_EQ(rig.Held().Count, 6);
    const int root = rig.Chords().CurrentRoot;
    const int type = rig.Chords().CurrentType;
    rig.Press(A2);
    EXPECT_EQ(rig.Held().Count, 1) << "the list was emptied before the seventh key";
    rig.Press(C3);
    EXPECT_EQ(rig.Chords().CurrentRoot, root);
    EXPECT_EQ(rig.Chords().CurrentType, type);
    rig.Press(E3);
    EXPECT_EQ(rig.Chords().CurrentRoot % 12, 9);
    EXPECT_EQ(rig.Chords().CurrentType, 2) << "A C E: A minor";
    EXPECT_LE(rig.Held().Count, 6);
}

TEST(ChordZone, RecognisedRootsLieInTheOctaveFrom44) {
    for (int pc = 0; pc < 12; ++pc) {
        DispatchRig rig;
        rig.ClockRuns();
        for (int tone : {0, 4, 7}) rig.Press(40 + (pc + tone + 8) % 12);  // inside 40 … 51
        SCOPED_TRACE(pc);
        EXPECT_EQ(rig.Engine().PendingRoot % 12, pc);
        EXPECT_GE(rig.Engine().PendingRoot, 44);
        EXPECT_LE(rig.Engine().PendingRoot, 55);
    }
}

TEST(ChordZone, WithChordChannel2OnlyChannel2MakesChords) {
    DispatchRig rig;
    rig.ClockRuns();
    rig.Options().Origin = true;  // "Unchanged Ext. in": channels stay as sent
    rig.Options().AccChannel = 2;
    for (int key : {C3, E3, G3}) rig.Press(key, 90, 0);
    EXPECT_EQ(rig.Engine().PendingType, 0);
    EXPECT_EQ(rig.Out.NoteOns(0).size(), 3u) << "played through as melody";

    for (int key : {C3, E3, G3}) rig.Press(key, 90, 1);
    EXPECT_EQ(rig.Engine().PendingType, 1);
    EXPECT_EQ(rig.Out.NoteOns(1).size(), 0u);
}

TEST(ChordZone, TopFunctionKeysRunProgramControlFromTheHighestChordKeyDown) {
    DispatchRig rig;
    rig.ClockRuns();
    rig.Keyboard().TopFunctionKeys = true;
    rig.Press(59);
    rig.Press(56);
    rig.Press(55);
    EXPECT_EQ(rig.Peers.ProgramControls, (std::vector<int>{0, 3}));
    EXPECT_EQ(rig.Held().Count, 1) << "55 is an ordinary chord key";
}

TEST(ChordZone, TwoFingerChordsTakeTheTypeFromTheDistance) {
    DispatchRig rig;
    rig.ClockRuns();
    rig.Options().TwoFingerChords = true;
    rig.Press(C3);
    rig.Press(C3 + 3);
    EXPECT_EQ(rig.Chords().CurrentRoot % 12, 0);
    EXPECT_EQ(rig.Chords().CurrentType, 4) << "three semitones up: slot 4, min7";
}

TEST(TriggeredChords, KeysFromTriggerLowPlayChordsAndTypeKeysChooseTheirType) {
    DispatchRig rig;
    ASSERT_TRUE(
        chords::SetPlayChords(rig.Session(), rig.Chords(), rig.Keyboard(), rig.Options(), rig.State().clock, true));
    const int low = rig.Keyboard().TriggerLow;
    EXPECT_EQ(low, 60) << "(40 div 12) x 12 + 24";
    rig.Press(low - 12 + 1, 90);  // the slot-2 key: min
    rig.Press(low + 2, 77);       // D
    EXPECT_EQ(rig.Chords().CurrentRoot % 12, 2);
    EXPECT_EQ(rig.Chords().CurrentType, 2);
    EXPECT_EQ(rig.Engine().TriggerVelocity, 77);

    rig.Out.Clear();
    rig.Release(low + 2);
    rig.Release(low - 12 + 1);
    EXPECT_EQ(rig.Chords().TypeOverride, 0);
    EXPECT_EQ(rig.Engine().SoundingChord[0], 0) << "the triggered chord was released";
}
}  // namespace
}  // namespace chordella::testing
