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

    // Released on the note it started on, not on its new transposition, by the stream's note-off
    // after the chord change.
    EXPECT_EQ(TriplesOf(rig.Out.NoteOns(0)), (MessageTriples{{0x90, 67, 100}}));
    const auto offs = rig.Out.NoteOffs(0);
    EXPECT_EQ(TriplesOf(offs), (MessageTriples{{0x90, 67, 0}}));
    EXPECT_GT(offs.at(0).Tick, 49);
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
    b.Part(StylePart::Basic).Measures(1).CutNotes(2).Program(0, 48, 0).Program(1, 0, 0).Program(2, 48, 0);
    b.Part(StylePart::Basic).Note(0, 64, 90, 0, 90).Note(1, 64, 70, 0, 90).Note(2, 64, 90, 0, 90);
    rig.Play(b);
    rig.Chord(C3, Major);
    rig.Run(30);
    rig.Out.Clear();
    rig.Chord(F3, Major);
    rig.Run(24 + 40);  // the change happens at the next beat; then past the string note's end
    // E4 over F major, re-voiced with the velocity it was started with, and ended as such.
    EXPECT_EQ(TriplesOf(rig.Out.OnChannel(0)), (MessageTriples{{0xB0, 123, 0}, {0x90, 69, 90}, {0x90, 69, 0}}));
    EXPECT_EQ(TriplesOf(rig.Out.OnChannel(1)), (MessageTriples{{0xB1, 123, 0}, {0x91, 64, 0}})) << "the piano is cut, not re-voiced";
    EXPECT_EQ(TriplesOf(rig.Out.OnChannel(2)), (MessageTriples{{0xB2, 64, 0}, {0xB2, 66, 0}, {0xB2, 123, 0}, {0x92, 64, 0}}))
        << "a cut-notes channel is cut with its pedals up";
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
    EXPECT_EQ(TriplesOf(rig.Out.OnChannel(0)), (MessageTriples{{0x90, 60, 0}}));
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
    EXPECT_EQ(TriplesOf(rig.Out.OnChannel(0)), (MessageTriples{{0xB0, 64, 0}, {0xB0, 66, 0}, {0xB0, 123, 0}}));
    EXPECT_EQ(rig.Engine().VelocityMap[0][60], 0);
    EXPECT_EQ(rig.Engine().ChannelSounding[0], 0);
}

TEST(ChannelReset, SendsPedalsOffThenAllNotesOffThenAllSoundOffAndClearsTheMaps) {
    EngineRig rig;
    rig.Engine().VelocityMap[3][40] = 99;
    rig.Engine().ChannelSounding[3] = 1;
    engine::ResetAllChannels(rig.Engine(), &rig.Out);
    ASSERT_EQ(rig.Out.Messages.size(), 64u);
    EXPECT_EQ(TriplesOf(rig.Out.OnChannel(3)), (MessageTriples{{0xB3, 64, 0}, {0xB3, 66, 0}, {0xB3, 123, 0}, {0xB3, 120, 0}}));
    EXPECT_EQ(rig.Engine().VelocityMap[3][40], 0);
    EXPECT_EQ(rig.Engine().ChannelSounding[3], 0);
    rig.Out.Open = false;
    engine::ResetChannel(&rig.Out, 3);
    engine::ResetChannel(nullptr, 3);
    EXPECT_EQ(rig.Out.Messages.size(), 64u);
}

}  // namespace
}  // namespace chordella::testing
