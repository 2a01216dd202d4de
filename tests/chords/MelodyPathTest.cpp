// The melody path of the keyboard input: re-channelling, split zones, transposition,
// velocity colour, ad lib, key adjustment, controllers and the notes that fall off the keyboard.

#include <gtest/gtest.h>

#include "DispatchRig.h"
#include "chords/MelodyPath.h"

namespace chordella::testing {
namespace {

TEST(MelodyVelocity, TheOffsetIsUsedOnlyWhenItLeavesAPlayableVelocity) {
    struct Case { int offset, styleOffset, velocity, expected; };
    for (const Case c : {Case{-20, 0, 10, 10}, Case{20, 0, 120, 127}, Case{20, 0, 50, 70}, Case{-20, 0, 21, 1},
                         Case{-20, 0, 20, 20}, Case{10, 5, 60, 75} /* the style's offset adds to the balance */}) {
        DispatchRig rig;
        rig.Options().MelodyVelocityOffset = c.offset;
        rig.Keyboard().StyleVelocityOffset = c.styleOffset;
        rig.Press(72, c.velocity);
        ASSERT_EQ(rig.Out.NoteOns(0).size(), 1u);
        EXPECT_EQ(rig.Out.NoteOns(0)[0].Data2, c.expected) << c.velocity << " with " << c.offset << " and " << c.styleOffset;
    }
}

TEST(MelodyChannel, AKeyboardOnChannel5IsHeardOnTheVoiceChannelUnlessUnchangedExtInIsTicked) {
    DispatchRig rig;
    rig.Engine().VoiceChannel = 3;
    rig.Press(72, 100, 4);
    EXPECT_EQ(rig.Out.NoteOns(3).size(), 1u);
    rig.Send(0x84, 72, 64);
    EXPECT_EQ(rig.Out.NoteOffs(3).size(), 1u) << "and so is its note-off";
    rig.Options().Origin = true;
    rig.Press(74, 100, 4);
    EXPECT_EQ(rig.Out.NoteOns(4).size(), 1u);
    EXPECT_EQ(rig.Engine().PlayerSoloing, 0);
    rig.Options().MinusOne = true;
    rig.Press(76, 100, 3);
    EXPECT_EQ(rig.Engine().PlayerSoloing, 1) << "with Minus One, playing on the voice channel is the player's solo";
}

TEST(MelodyAdLib, NotesPlayedInCFollowTheChordAndEndWhereTheyStarted) {
    DispatchRig rig;
    rig.Options().MelodyAdLib = true;
    rig.Chords().CurrentRoot = 62;  // D minor
    rig.Chords().CurrentType = 2;
    for (int key : {60, 64, 67, 71}) rig.Press(key);
    std::vector<int> sounded;
    for (const SentMessage& m : rig.Out.NoteOns(0)) sounded.push_back(m.Data1);
    EXPECT_EQ(sounded, (std::vector<int>{62, 65, 69, 72})) << "C E G B give D F A C";

    rig.Chords().CurrentRoot = 67;  // G 7th
    rig.Chords().CurrentType = 3;
    rig.Release(64);
    ASSERT_EQ(rig.Out.NoteOffs(0).size(), 1u);
    EXPECT_EQ(rig.Out.NoteOffs(0)[0].Data1, 65) << "released on the note it started";
}

TEST(MelodyAdLib, AHeldSustainIsLiftedWhenTheChordChangedUnderIt) {
    DispatchRig rig;
    rig.Options().MelodyAdLib = true;
    rig.Chords().CurrentRoot = 60;
    rig.Chords().CurrentType = 1;
    rig.Send(0xB0, 64, 127);
    rig.Press(64);
    rig.Out.Clear();
    rig.Press(65);
    EXPECT_TRUE(rig.Out.Where([](const SentMessage& m) { return m.IsController(64); }).empty())
        << "same chord: the pedal stays";
    rig.Chords().CurrentRoot = 65;
    rig.Press(67);
    EXPECT_EQ(rig.Out.Where([](const SentMessage& m) { return m.IsController(64) && m.Data2 == 0; }).size(), 1u);
    EXPECT_EQ(rig.Out.Where([](const SentMessage& m) { return m.IsController(66) && m.Data2 == 0; }).size(), 1u);
}

TEST(KeyAdjustment, WhileASongPlaysNotesMoveIntoTheSongsKey) {
    struct SongPeers final : StandInInputModules {
        int SongKey() override { return 7; }
    } peers;
    DispatchRig rig;
    rig.Options().KeyAdjustment = true;
    rig.Input.SetPeers(peers);
    rig.Press(64);
    rig.Input.SetModifiers({true, false});
    rig.Press(71);
    const auto ons = rig.Out.NoteOns(0);
    ASSERT_EQ(ons.size(), 2u);
    EXPECT_EQ(ons[0].Data1, 71);
    EXPECT_EQ(ons[1].Data1, 77) << "B with Ctrl held: lowered a semitone, then in G";
}

TEST(MelodyTransposition, ANoteMovedOffTheKeyboardIsNotPlayedAndLeavesNothingSounding) {
    DispatchRig rig;
    rig.Engine().KeyboardOctave = 2;
    rig.Press(120);
    rig.Release(120);
    EXPECT_TRUE(rig.Out.Messages.empty());
    rig.Engine().KeyboardOctave = -8;
    rig.Keyboard().CapoShift = -11;
    rig.Press(90);
    rig.Release(90);
    EXPECT_TRUE(rig.Out.Messages.empty());
}

TEST(MelodyTransposition, ANoteEndsWhereItStartedWhenTheTranspositionChangesAndASecondPressOfAKeyHeldElsewhereEndsIt) {
    DispatchRig rig;
    rig.Keyboard().CapoShift = 2;
    rig.Press(72);
    rig.Keyboard().CapoShift = 5;
    rig.Engine().KeyboardOctave = 1;
    rig.Release(72);
    ASSERT_EQ(rig.Out.NoteOffs(0).size(), 1u);
    EXPECT_EQ(rig.Out.NoteOffs(0)[0].Data1, 74);
    EXPECT_EQ(rig.Engine().HeldNotes[72], 0);

    rig.Keyboard().CapoShift = 0;
    rig.Engine().KeyboardOctave = 0;
    rig.Press(72);
    rig.Keyboard().CapoShift = 1;
    rig.Press(72);
    rig.Release(72);
    std::vector<int> offs;
    for (const SentMessage& m : rig.Out.NoteOffs(0)) offs.push_back(m.Data1);
    EXPECT_EQ(offs, (std::vector<int>{74, 72, 73}));
}

TEST(MelodyTransposition, TheDrumChannelIsNeverTransposed) {
    DispatchRig rig;
    rig.Options().Origin = true;
    rig.Keyboard().CapoShift = 3;
    rig.Press(72, 100, 9);
    rig.Press(72, 100, 0);
    EXPECT_EQ(rig.Out.NoteOns(9).at(0).Data1, 72);
    EXPECT_EQ(rig.Out.NoteOns(0).at(0).Data1, 75);
}

TEST(KeyboardSplit, EachZoneHasItsChannelAndOctave) {
    DispatchRig rig;
    rig.Options().KeyboardSplit = true;
    auto& zones = rig.Keyboard().Zones;
    zones[0] = {60, false, 1, 0};
    zones[1] = {72, true, 5, -12};
    zones[2] = {128, true, 7, 24};
    rig.Press(65);
    rig.Press(80);
    rig.Press(61);  // the chord zone ends at 59: 61 is melody
    EXPECT_EQ(rig.Out.NoteOns(4).size(), 2u);
    EXPECT_EQ(rig.Out.NoteOns(4)[0].Data1, 53);
    EXPECT_EQ(rig.Out.NoteOns(6).at(0).Data1, 104);
    EXPECT_EQ(rig.Keyboard().ChannelIndicator[6], chords::Indicator::Greyed);

    zones[1].On = false;
    rig.Release(65);
    EXPECT_EQ(rig.Out.NoteOffs(4).at(0).Data1, 53) << "the release follows its press, not the new zones";
}

TEST(MelodyRecording, PlayedNotesAndControllersAreHandedToTheMelodyTrack) {
    DispatchRig rig;
    rig.Peers.Recording = true;
    rig.Options().MelodyVelocityOffset = 7;
    rig.Press(72, 50);
    rig.Send(0xB0, 64, 100);
    rig.Release(72);
    ASSERT_EQ(rig.Peers.Recorded.size(), 3u);
    EXPECT_EQ(rig.Peers.Recorded[0].Data2, 57);
    EXPECT_EQ(rig.Peers.Recorded[1].Data1, 64);
    EXPECT_EQ(rig.Peers.Recorded[2].Data2, 0);
}

TEST(MelodyControllers, SustainIsTrackedAndSuppressedChannelsLoseTheirControllers) {
    DispatchRig rig;
    rig.Send(0xB0, 64, 100);
    EXPECT_TRUE(rig.Keyboard().SustainHeld[0]);
    rig.Send(0xB0, 66, 64);
    EXPECT_FALSE(rig.Keyboard().SustainHeld[0]) << "64 is not above 64";
    rig.Out.Clear();
    rig.Send(0xA0, 60, 30);
    EXPECT_TRUE(rig.Out.Messages.empty()) << "polyphonic pressure is always dropped";

    rig.Keyboard().ChannelSuppress[0] = true;
    rig.Send(0xB0, 7, 100);
    rig.Send(0xC0, 5, 0);
    rig.Send(0xD0, 40, 0);
    EXPECT_TRUE(rig.Out.Messages.empty());
    rig.Send(0xB0, 123, 0);
    rig.Send(0xE0, 0, 64);
    EXPECT_EQ(rig.Out.Messages.size(), 2u) << "channel mode messages and pitch bend pass";
}

}  // namespace
}  // namespace chordella::testing
