// What the live arranger's input handlers and transport get from the modules around them:
// each answer comes from the module that has it, not from a stand-in that would switch the
// feature off. The rig is the headless arranger; the window builds the same one.
#include <gtest/gtest.h>

#include "ArrangerRig.h"
#include "app/SongPlayback.h"
#include "chords/ChordRecogniser.h"
#include "chords/InputLink.h"
#include "chords/SectionKeys.h"
#include "engine/AccompanimentEngine.h"
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

// What the tick and the control keys ask about the chord is answered by chord recognition:
// held keys are forgotten at a beat's end with the smart chord keys, a chord a pad gave to the
// editor leaves the style nothing to follow, and the intro key in song mode sets the current
// chord again for an external arranger.
TEST(LiveArrangerPeers, TheTickAndTheControlKeysAskChordRecognitionThroughTheTransport) {
    ArrangerRig rig;
    ASSERT_TRUE(rig.Prepare());
    app::AppState& state = rig.t.state;
    chords::HeldNoteList& held = rig.t.session->Style().heldNotes;
    auto tickPastTheBeat = [&] {
        state.clock.ClockState = 1;
        state.clock.TickInBeat = 24;
        rig.arranger.Engine().TickProcedure();
        state.clock.ClockState = 0;
    };
    for (const bool twoFinger : {false, true}) {
        state.options.SmartChordKeys = true;
        state.options.TwoFingerChords = twoFinger;
        held.Add(60);
        held.Add(64);
        tickPastTheBeat();
        EXPECT_EQ(held.Empty(), !twoFinger) << (twoFinger ? "two-finger keeps its keys" : "smart keys forget them");
        held.Clear();
    }

    engine::TickLink& tick = rig.arranger.Transport();
    EXPECT_FALSE(tick.NoChordMarked()) << "before the first chord a style plays as written";
    state.chords.ChordGivenToEditor = true;  // what a pad's release does when the editor takes its chord
    state.chords.CurrentRoot = chords::NoCurrentChord;
    EXPECT_TRUE(tick.NoChordMarked());
    rig.arranger.Recogniser().SetChord(50, 2, chords::NoOffset);
    EXPECT_FALSE(tick.NoChordMarked()) << "the next chord gives the style one again";

    rig.t.session->Style().player.StyleMode = false;  // song mode: the keys go to an external arranger
    rig.arranger.Engine().DropPendingChord();
    state.engine.PendingCommandKey = static_cast<std::int16_t>(state.config.Keys.Intro);
    tick.ApplyCommandKey();
    EXPECT_EQ(rig.arranger.Engine().PendingChord().Root, state.chords.CurrentRoot);
    EXPECT_EQ(rig.arranger.Engine().PendingChord().Type, 2);
}

}  // namespace
}  // namespace chordella::testing
