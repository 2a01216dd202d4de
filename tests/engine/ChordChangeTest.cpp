// What happens to sounding notes when the chord changes.

#include <gtest/gtest.h>

#include "engine/ChordChange.h"
#include "engine/EngineRig.h"

namespace chordella::testing {
namespace {

using data::StylePart;
constexpr int E3 = 52;
constexpr int F3 = 53;
constexpr int C3 = 48;
constexpr int Major = 1;
constexpr int Minor = 2;

bool SentController(const RecordingOutput& out, int channel, int controller, std::int64_t fromTick) {
    for (const SentMessage& m : out.OnChannel(channel)) {
        if (m.Tick >= fromTick && m.IsController(controller)) return true;
    }
    return false;
}

TEST(ChordChange, ANoteStartedUnderOneChordEndsOnTheNoteItStartedOnAfterTheChordChanged) {
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic).Measures(1).Program(0, 0, 0).Note(0, 64, 100, 0, 60);
    rig.Play(b);
    rig.Chord(E3, Minor);
    rig.Run(30);  // the note sounds; E minor moves E4 to G4
    rig.Chord(F3, Major);
    rig.Run(48);

    const auto ons = rig.Out.NoteOns(0);
    ASSERT_EQ(ons.size(), 1u);
    EXPECT_EQ(ons[0].Data1, 67);
    const auto offs = rig.Out.NoteOffs(0);
    ASSERT_EQ(offs.size(), 1u);
    EXPECT_EQ(offs[0].Data1, 67) << "released on its new transposition instead of the note it started on";
    EXPECT_GT(offs[0].Tick, 49) << "the note-off should come from the stream, after the chord change";
}

TEST(ChordChange, TheDrumChannelIsNeverTransposedNorReleasedByAChordChange) {
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic).Measures(1).Note(9, 38, 100, 0, 60).Note(9, 64, 100, 30, 12).Note(0, 64, 100, 0, 60);
    rig.Play(b);
    rig.Chord(E3, Minor);
    rig.Run(24);
    rig.Chord(F3, Major);
    rig.Run(72);

    for (const SentMessage& m : rig.Out.OnChannel(9)) {
        EXPECT_FALSE(m.Kind() == 0xB0) << "a controller on the drum channel at tick " << m.Tick;
        if (m.Kind() == 0x90) {
            EXPECT_TRUE(m.Data1 == 38 || m.Data1 == 64) << "drum note moved to " << int(m.Data1);
        }
    }
    EXPECT_TRUE(SentController(rig.Out, 0, 123, 25)) << "the melodic channel is released";
}

TEST(ChordChange, TheSameChordTwiceReleasesNothing) {
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic).Measures(1).Program(0, 0, 0).Note(0, 64, 100, 0, 90);
    rig.Play(b);
    rig.Chord(E3, Minor);
    rig.Run(30);
    rig.Chord(E3, Minor);
    rig.Run(30);

    EXPECT_FALSE(SentController(rig.Out, 0, 123, 0));
    EXPECT_FALSE(SentController(rig.Out, 0, 120, 0));
}

// Channel 1 holds a string note, channel 2 a piano note, channel 3 a string note on a channel
// marked "cut notes".
TEST(ChordChange, AHeldStringNoteIsRevoicedWithItsVelocityWhileAPianoNoteOrACutNotesChannelIsCut) {
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic)
        .Measures(1)
        .CutNotes(2)
        .Program(0, 48, 0)
        .Program(1, 0, 0)
        .Program(2, 48, 0)
        .Note(0, 64, 90, 0, 90)
        .Note(1, 64, 70, 0, 90)
        .Note(2, 64, 90, 0, 90);
    rig.Play(b);
    rig.Chord(C3, Major);
    rig.Run(30);
    rig.Out.Clear();
    rig.Chord(F3, Major);
    rig.Run(24);  // the change happens at the next beat

    const auto strings = rig.Out.OnChannel(0);
    ASSERT_GE(strings.size(), 2u);
    EXPECT_TRUE(strings[0].IsController(123));
    EXPECT_TRUE(strings[1].IsNoteOn());
    EXPECT_EQ(strings[1].Data1, 69) << "E4 over F major";
    EXPECT_EQ(strings[1].Data2, 90) << "re-voiced with the velocity it was started with";

    EXPECT_TRUE(SentController(rig.Out, 1, 123, 0));
    EXPECT_TRUE(rig.Out.NoteOns(1).empty()) << "the piano is cut, not re-voiced";

    const auto cut = rig.Out.OnChannel(2);
    ASSERT_GE(cut.size(), 3u);
    EXPECT_TRUE(cut[0].IsController(64)) << "a cut-notes channel is cut with its pedals up";
    EXPECT_TRUE(cut[1].IsController(66));
    EXPECT_TRUE(cut[2].IsController(123));
    EXPECT_TRUE(rig.Out.NoteOns(2).empty());

    rig.Run(40);  // past the string note's end
    const auto offs = rig.Out.NoteOffs(0);
    ASSERT_EQ(offs.size(), 1u);
    EXPECT_EQ(offs[0].Data1, 69);
}

TEST(ChordChange, TheStrongSettingReleasesWithAllSoundOffAndTheSmartOneCentresPitchBend) {
    for (int mode : {0, 2}) {
        EngineRig rig;
        rig.Options().StyleChordChanges = mode;
        StyleBuilder b;
        b.Part(StylePart::Basic).Measures(1).Program(0, 0, 0).Note(0, 64, 90, 0, 60);
        rig.Play(b);
        rig.Chord(C3, Major);
        rig.Run(30);
        rig.Chord(F3, Major);
        rig.Run(24);
        EXPECT_EQ(SentController(rig.Out, 0, 120, 0), mode == 0) << "mode " << mode;
        EXPECT_EQ(SentController(rig.Out, 0, 123, 0), mode == 2) << "mode " << mode;
        const auto bends = rig.Out.Where([](const SentMessage& m) { return m.Kind() == 0xE0; });
        EXPECT_EQ(bends.size(), mode == 2 ? 1u : 0u);
    }
}

TEST(ChordChange, AChordTypeOutsideTheTablesLeavesTheStyleOnItsChord) {
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic).Measures(1).Note(0, 64, 90, 0, 12).Note(0, 64, 90, 48, 12);
    rig.Play(b);
    rig.Chord(E3, Minor);
    rig.Run(30);
    rig.Chord(F3, 99);
    rig.Run(40);
    rig.Chord(F3, -3);
    rig.Run(40);
    for (const SentMessage& m : rig.Out.NoteOns(0)) EXPECT_EQ(m.Data1, 67);
    EXPECT_EQ(rig.Engine().StyleType, Minor);
}

TEST(ChordChange, MinusOneEndsTheStylesNotesOnTheVoiceChannelButNotTheOnesThePlayerHolds) {
    EngineRig rig;
    rig.Options().MinusOne = true;
    rig.Engine().VoiceChannel = 0;
    StyleBuilder b;
    b.Part(StylePart::Basic).Program(0, 0, 0).Note(0, 60, 90, 0, 90).Note(0, 67, 90, 0, 90);
    rig.Play(b);
    rig.Chord(C3, Major);
    rig.Run(30);
    rig.Engine().HeldNotes[67] = 67;  // the player holds G4 himself
    rig.Out.Clear();
    rig.Chord(F3, Major);
    rig.Run(1 + (24 - (30 % 24)));
    const auto channel = rig.Out.OnChannel(0);
    ASSERT_EQ(channel.size(), 1u);
    EXPECT_TRUE(channel[0].IsNoteOff());
    EXPECT_EQ(channel[0].Data1, 60);
}

TEST(ChordChange, AReleaseAtASectionSwitchLiftsThePedalsWhereNotesOutliveThePartAndForgetsAllNotes) {
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic).Program(0, 0, 0).NoteOn(0, 60, 90, 0).Note(1, 62, 90, 0, 6);
    rig.Play(b);
    rig.Chord(C3, Major);
    rig.Run(2);
    rig.Out.Clear();
    engine::ChordChange(rig.Session(), rig.Engine(), rig.Options(), engine::AllChannels, C3, Major, true, true);
    const auto channel = rig.Out.OnChannel(0);
    ASSERT_EQ(channel.size(), 3u);
    EXPECT_TRUE(channel[0].IsController(64));
    EXPECT_TRUE(channel[1].IsController(66));
    EXPECT_TRUE(channel[2].IsController(123));
    EXPECT_EQ(rig.Engine().VelocityMap[0][60], 0);
    EXPECT_EQ(rig.Engine().ChannelSounding[0], 0);
}

TEST(ChannelReset, SendsPedalsOffThenAllNotesOffThenAllSoundOffAndClearsTheMaps) {
    EngineRig rig;
    rig.Engine().VelocityMap[3][40] = 99;
    rig.Engine().ChannelSounding[3] = 1;
    engine::ResetAllChannels(rig.Engine(), &rig.Out);
    ASSERT_EQ(rig.Out.Messages.size(), 64u);
    const auto three = rig.Out.OnChannel(3);
    ASSERT_EQ(three.size(), 4u);
    EXPECT_TRUE(three[0].IsController(64));
    EXPECT_TRUE(three[1].IsController(66));
    EXPECT_TRUE(three[2].IsController(123));
    EXPECT_TRUE(three[3].IsController(120));
    EXPECT_EQ(rig.Engine().VelocityMap[3][40], 0);
    EXPECT_EQ(rig.Engine().ChannelSounding[3], 0);
    rig.Out.Open = false;
    engine::ResetChannel(&rig.Out, 3);
    engine::ResetChannel(nullptr, 3);
    EXPECT_EQ(rig.Out.Messages.size(), 64u);
}

}  // namespace
}  // namespace chordella::testing
