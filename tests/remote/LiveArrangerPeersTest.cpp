// What the live arranger's input handlers and transport get from the modules around them:
// each answer comes from the module that has it, not from a stand-in that would switch the
// feature off. The rig is the headless arranger; the window builds the same one.
#include <gtest/gtest.h>

#include "ArrangerRig.h"
#include "app/SongPlayback.h"
#include "chords/InputLink.h"
#include "chords/SectionKeys.h"
#include "support/RecordingOutput.h"

namespace chordella::testing {
namespace {

// Controller 21 on the second input while no style plays ("Intro Detection").
TEST(LiveArrangerPeers, IntroDetectionSetsTheStartMeasureAndWithMuteNoneTheLeadInPosition) {
    ArrangerRig rig;
    ASSERT_TRUE(rig.Prepare());
    app::AppState& state = rig.t.state;
    state.options.IntroDetection = true;
    state.options.IntroStartMode = 0;  // "-   Mute None "
    state.clock.MeasureUnits = 16;
    rig.Send({0xB0, 21, 2});
    EXPECT_EQ(state.arrangement.StartMeasure, -2);
    EXPECT_EQ(state.arrangement.ChordMemoryPos, (-2 - 1) * 16 + 8);

    state.options.IntroStartMode = 1;  // "-   Mute All": the position stays
    const std::int16_t position = state.arrangement.ChordMemoryPos;
    rig.Send({0xB0, 21, 3});
    EXPECT_EQ(state.arrangement.StartMeasure, -3);
    EXPECT_EQ(state.arrangement.ChordMemoryPos, position);

    state.arrangement.StartMeasure = 4;
    rig.Send({0xB0, 21, 1});
    EXPECT_EQ(state.arrangement.StartMeasure, 4) << "a start measure of 2 or more is the player's own";
}

// "PAD : mute at intros && endings" with the harmonic pad: the intro and ending keys reset the
// pad channel before the key is applied.
TEST(LiveArrangerPeers, TheIntroKeyResetsThePadChannelWhenThePadIsMutedAtIntros) {
    ArrangerRig rig;
    ASSERT_TRUE(rig.Prepare());
    app::AppState& state = rig.t.state;
    RecordingOutput out;
    rig.t.session->SetAccompanimentOutput(&out);
    state.options.HarmonicPad = true;
    state.options.PadMuteAtIntrosAndEndings = true;
    state.options.PadChannel = 15;
    state.options.PlayChords = false;
    rig.t.session->Style().player.StyleActive = 1;
    rig.arranger.SectionKeys().SectionKey(state.config.Keys.Intro, chords::SectionKeyCode);
    const auto reset = out.Where([](const SentMessage& m) { return m.Channel() == 15 && m.IsController(123); });
    EXPECT_EQ(reset.size(), 1u);

    out.Messages.clear();
    state.options.PadMuteAtIntrosAndEndings = false;
    rig.arranger.SectionKeys().SectionKey(state.config.Keys.Intro, chords::SectionKeyCode);
    EXPECT_TRUE(out.Where([](const SentMessage& m) { return m.IsController(123); }).empty());
    rig.t.session->SetAccompanimentOutput(nullptr);
}

// The song's key (from its key marks) reaches the melody side only while the chord memory
// plays or records; a new song starts without one.
TEST(LiveArrangerPeers, TheSongKeyIsTheChordMemorysWhileItRuns) {
    ArrangerRig rig;
    app::AppState& state = rig.t.state;
    chords::InputLink& peers = rig.arranger.InputLink();
    state.songPlay.AdjustmentKey = 7;
    EXPECT_EQ(peers.SongKey(), -1) << "the chord memory is idle";
    state.transport.ChordPlayMode = -1;
    EXPECT_EQ(peers.SongKey(), 7);
    state.arrangement.ChordMemoryPos = 36;
    EXPECT_EQ(peers.ChordMemoryPosition(), 36);
    state.transport.ChordPlayMode = 0;

    state.songPlay.PlayStartPos = 4;
    rig.arranger.Songs().player.StartPlayback();
    EXPECT_EQ(state.songPlay.AdjustmentKey, -1) << "a song played from its start has no key until a key mark";
}

// The panic of the headless arranger forgets a chord type chosen in advance, as the window's does.
TEST(LiveArrangerPeers, ThePanicReachesChordRecognitionThroughTheTransport) {
    ArrangerRig rig;
    ASSERT_TRUE(rig.Prepare());
    rig.t.state.chords.TypeOverride = 3;
    rig.arranger.Panic();
    EXPECT_EQ(rig.t.state.chords.TypeOverride, 0);
    EXPECT_TRUE(rig.arranger.Transport().ModulesWired());
}

}  // namespace
}  // namespace chordella::testing
