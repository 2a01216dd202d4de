// The sender of hand-entered messages and the human velocity of typed notes.

#include <gtest/gtest.h>

#include "DispatchRig.h"
#include "chords/VoiceMessages.h"
#include "platform/Random.h"

namespace chordella::testing {
namespace {

TEST(HumanVelocity, StaysNearTheBaseAsDrawnFromTwentyOneChancesASoftBaseStaysSoftAndALoudOneAMidiValue) {
    bool softer = false, louder = false, floor = false;
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        platform::Random random(seed);
        const int v = chords::HumanVelocity(random, 100);
        EXPECT_TRUE((v >= 85 && v <= 100) || (v >= 106 && v <= 110)) << "seed " << seed << ": " << v;
        softer |= v < 100;
        louder |= v > 100;
        const int soft = chords::HumanVelocity(random, 5);
        EXPECT_GE(soft, 1) << "seed " << seed;
        EXPECT_LE(soft, 15) << "seed " << seed << ": never wraps round to loud";
        floor |= soft == 1;
        EXPECT_LE(chords::HumanVelocity(random, 127), 127);
    }
    EXPECT_TRUE(softer && louder && floor);
}

TEST(SendVoiceMessage, RecordsTheMelodyChannelOnlyWhileTheTrackRecords) {
    DispatchRig rig;
    chords::SendVoiceMessage(rig.Session(), rig.State().melody, rig.Options(), &rig.Peers, 0x90, 60, 100);
    EXPECT_TRUE(rig.Peers.Recorded.empty());
    rig.Peers.Recording = true;
    chords::SendVoiceMessage(rig.Session(), rig.State().melody, rig.Options(), &rig.Peers, 0x90, 62, 100);
    chords::SendVoiceMessage(rig.Session(), rig.State().melody, rig.Options(), &rig.Peers, 0x93, 64, 100);
    ASSERT_EQ(rig.Peers.Recorded.size(), 1u);
    EXPECT_EQ(rig.Peers.Recorded[0].Data1, 62);
    EXPECT_EQ(rig.Out.NoteOns(0).size(), 2u);
    EXPECT_EQ(rig.Out.NoteOns(3).size(), 1u);
}

TEST(SendVoiceMessage, ControllersUpdateTheTableAndFollowTheChordCodeOutputsAndWhatIsNoChannelMessageIsIgnored) {
    DispatchRig rig;
    chords::SendVoiceMessage(rig.Session(), rig.State().melody, rig.Options(), nullptr, 0xB2, 7, 90);
    EXPECT_EQ(rig.Session().Controllers().Value(2, 7), 90);
    EXPECT_EQ(rig.Out.OnChannel(2).size(), 1u);

    rig.Options().SendChordCodes = true;
    rig.Out.Clear();
    chords::SendVoiceMessage(rig.Session(), rig.State().melody, rig.Options(), nullptr, 0xC2, 5, 0);
    chords::SendVoiceMessage(rig.Session(), rig.State().melody, rig.Options(), nullptr, 0x92, 60, 80);
    EXPECT_EQ(rig.Session().Controllers().Value(2, midi::ControllerTable::ProgramIndex), 5);
    ASSERT_EQ(rig.Out.Messages.size(), 1u) << "only the note goes to the main output";
    EXPECT_TRUE(rig.Out.Messages[0].IsNoteOn());

    rig.Out.Clear();
    for (int status : {0x00, 0x7F, 0xF0, 0xF8, 0xFF}) {
        chords::SendVoiceMessage(rig.Session(), rig.State().melody, rig.Options(), nullptr,
                                 static_cast<std::uint8_t>(status), 1, 1);
    }
    chords::SendVoiceMessage(rig.Session(), rig.State().melody, rig.Options(), nullptr, 0x90, 200, 1);
    chords::SendVoiceMessage(rig.Session(), rig.State().melody, rig.Options(), nullptr, 0x90, 60, 128);
    EXPECT_TRUE(rig.Out.Messages.empty());
}

}  // namespace
}  // namespace chordella::testing
