// Play, Record and Stop; the count-in and the metronome; slave and master mode; the panic
// functions and the switches around the transport.

#include <array>
#include <vector>
#include <gtest/gtest.h>

#include "chords/ChordRecogniser.h"
#include "engine/TransportRig.h"
#include "midi/ControllerTable.h"

namespace chordella::testing {
namespace {

using data::StylePart;

// A Basic part of `measures` 4/4 measures with a long note on channel 1 and a chord of
// overlapping notes on channel 2, so that notes are always sounding.
StyleBuilder LongNotes(int measures = 2) {
    StyleBuilder b;
    PartBuilder& basic = b.Part(StylePart::Basic).Measures(measures);
    for (int m = 1; m <= measures; ++m) {
        basic.Note(0, 48, 100, b.Position(m, 1), 90);
        basic.Note(1, 64, 90, b.Position(m, 2), 40).Note(1, 67, 90, b.Position(m, 2) + 6, 60);
    }
    return b;
}

// One short note on every tick of a one-measure Basic part, so that ticks can be counted.
StyleBuilder NoteEveryTick() {
    StyleBuilder b;
    PartBuilder& basic = b.Part(StylePart::Basic);
    for (int t = 0; t < 96; ++t) basic.Note(0, 60, 100, t, 1);
    return b;
}

TEST(AChordPlayedWhileTheStyleIsIdle, StartsItInStyleModeButNotWithPlayChords) {
    for (const bool playChords : {false, true}) {
        TransportRig rig;
        chords::ChordRecogniser recogniser(rig.Session(), rig.State().chords, rig.Options(), rig.Accompaniment);
        rig.Session().SetChordLink(&recogniser);
        rig.Options().PlayChords = playChords;
        ASSERT_TRUE(rig.Load(LongNotes()));
        rig.Clock.StartVirtual(120);
        ASSERT_EQ(rig.Player().StyleActive, 0);
        recogniser.SetChord(48, 1, chords::NoOffset);
        EXPECT_EQ(rig.Player().StyleActive, playChords ? 0 : 1) << "Play Chords " << playChords;
    }
}

// Sixteen channels of overlapping notes, drums included, so that a stop finds many notes
// sounding everywhere.
StyleBuilder DenseStyle() {
    StyleBuilder b;
    PartBuilder& basic = b.Part(StylePart::Basic).Measures(1);
    for (int channel = 0; channel < 16; ++channel) {
        for (int at = 0; at < 96; at += 12) basic.Note(channel, 40 + channel + at / 12, 100, at, 60);
    }
    return b;
}

TEST(Stop, EndsExactlyTheSoundingNotesWithNoteOffsAndResetsOnlyTheChannelsInUse) {
    TransportRig rig;
    rig.Start(DenseStyle());
    rig.RunTo(TickOf(1, 3) + 10);
    std::size_t sounding = 0;
    for (const auto& row : rig.Engine().VelocityMap) {
        for (auto velocity : row) sounding += velocity != 0;
    }
    ASSERT_GE(sounding, 16u * 3) << "a dense style sounds on every channel";
    const std::size_t before = rig.Out.Messages.size();
    rig.Transport.Stop();
    EXPECT_LE(rig.Out.Messages.size() - before, 100 + sounding) << "for " << sounding << " sounding notes";
    // Note-offs alone end every note, the drums' too; the controllers come after them.
    const auto noteOffsOnly = rig.Out.Where([](const SentMessage& m) { return !m.IsController(123) && !m.IsController(120); });
    EXPECT_TRUE(NoStuckNotes(noteOffsOnly));
    std::array<int, 16> resets{};
    for (const SentMessage& m : rig.Out.Messages) resets[static_cast<std::size_t>(m.Channel())] += m.IsController(123);
    for (int channel = 0; channel < 16; ++channel) EXPECT_GE(resets[static_cast<std::size_t>(channel)], 1) << channel + 1;
    rig.Out.Clear();
    rig.Run(200);
    EXPECT_TRUE(rig.Out.NoteOns(0).empty()) << "nothing plays after Stop";
}

TEST(Stop, ResetsOnlyTheChannelsTheStyleUsesAndEndsStrayNotesElsewhereWithOneAllNotesOff) {
    TransportRig rig;
    rig.Start(LongNotes());
    rig.RunTo(TickOf(1, 2) + 10);
    rig.Transport.Stop();
    const auto offs = rig.Out.Where([](const SentMessage& m) { return m.IsNoteOff(); });
    EXPECT_FALSE(offs.empty());
    EXPECT_TRUE(NoStuckNotes(rig.Out.Where([](const SentMessage& m) { return m.IsNoteOff() || m.IsNoteOn(); })));
    const int pad = rig.Options().PadChannel & 0x0F;
    std::array<int, 16> allNotesOff{};
    for (const SentMessage& m : rig.Out.Messages) {
        if (m.IsController(120)) {
            EXPECT_TRUE(m.Channel() <= 1 || m.Channel() == pad) << "channel " << m.Channel() + 1;
        }
        if (m.IsController(123)) ++allNotesOff[static_cast<std::size_t>(m.Channel())];
    }
    // A channel the style does not declare may still hold a note nobody mapped: it gets one
    // All Notes Off and nothing else.
    for (int channel = 2; channel < 16; ++channel) {
        if (channel == pad) continue;
        EXPECT_EQ(allNotesOff[static_cast<std::size_t>(channel)], 1) << "channel " << channel + 1;
    }
}

TEST(Stop, SwitchesOffTheClockItsTransportSwitchedOnButLeavesAClockTheUserStarted) {
    TransportRig rig;
    ASSERT_TRUE(rig.Load(LongNotes()));
    rig.Clock.StartVirtual(120);
    rig.Transport.StartStyle();
    rig.Transport.Stop();
    EXPECT_EQ(rig.ClockFields().ClockState, 1) << "the clock was running before the style started";

    rig.AttachSong();
    rig.Clock.ToggleClock();
    ASSERT_EQ(rig.ClockFields().ClockState, 0);
    rig.Transport.Play();
    EXPECT_EQ(rig.ClockFields().ClockState, 1);
    rig.Transport.Stop();
    EXPECT_EQ(rig.ClockFields().ClockState, 0);
    EXPECT_EQ(rig.ClockFields().TimerId, 0);
}

// The transport with the song stand-in behind Play, Record and Punch in, on a running clock.
struct SongTransport : ::testing::Test {
    SongTransport() {
        rig.AttachSong();
        rig.Clock.StartVirtual(120);
    }
    TransportRig rig;
};

TEST(PlayAndPunchIn, WithAnEmptyChordMemorySaySoAndStartNothing) {
    for (const bool punchIn : {false, true}) {
        SCOPED_TRACE(punchIn ? "Punch in" : "Play");
        TransportRig rig;
        punchIn ? rig.Transport.PunchIn() : rig.Transport.Play();
        EXPECT_TRUE(rig.Test.prompter->WasShown("Chordmemory is empty !"));
        EXPECT_EQ(rig.State().transport.ChordPlayMode, 0);
        EXPECT_FALSE(rig.State().transport.RealtimeRaised);
        EXPECT_EQ(rig.ClockFields().ClockState, 0);
    }
}

TEST_F(SongTransport, PlayStartsTheSongAndStopGivesTheRealtimePriorityBack) {
    rig.Player().FadeActive = 1;
    rig.Player().FadeAmount = 40;
    rig.Transport.Play();
    EXPECT_EQ(rig.StandIn.Playbacks, 1);
    EXPECT_LT(rig.State().transport.ChordPlayMode, 0);
    EXPECT_TRUE(rig.State().transport.RealtimeRaised);
    EXPECT_EQ(rig.Player().FadeActive, 0) << "Play resets the fade";
    EXPECT_EQ(rig.Engine().SongStarting, 1);
    rig.Transport.Play();
    EXPECT_EQ(rig.StandIn.Playbacks, 1) << "Play while playing does nothing";
    rig.Transport.Stop();
    EXPECT_EQ(rig.State().transport.ChordPlayMode, 0);
    EXPECT_FALSE(rig.State().transport.RealtimeRaised);
    EXPECT_EQ(rig.StandIn.Stopped, 0) << "only a recording is closed with an end mark";
}

TEST_F(SongTransport, RecordAsksBeforeReplacingChordsCancelsOnNoAndStepRecordingSwitchesTheClockOff) {
    rig.Test.prompter->AnswerNo();
    rig.Transport.Record();
    EXPECT_TRUE(rig.Test.prompter->WasShown("Replace current chords ?"));
    EXPECT_EQ(rig.State().transport.ChordPlayMode, 0);
    EXPECT_FALSE(rig.State().transport.RealtimeRaised);
    EXPECT_EQ(rig.StandIn.Cleared, 0);

    rig.Test.prompter->AnswerYes();
    rig.Transport.Record();
    EXPECT_EQ(rig.StandIn.Cleared, 1);
    EXPECT_EQ(rig.State().transport.ChordPlayMode, 1);
    rig.Transport.Stop();
    EXPECT_EQ(rig.StandIn.Stopped, 1) << "the recording gets its end";

    // Step recording switches the clock off.
    rig.StandIn.Empty = true;
    rig.Test.prompter->AnswerYes();
    rig.Transport.Record(true);
    EXPECT_TRUE(rig.Test.prompter->WasShown("Replace current chords, starting at measure 1"));
    EXPECT_EQ(rig.State().transport.ChordPlayMode, 2);
    EXPECT_EQ(rig.ClockFields().ClockState, 0);
    EXPECT_EQ(rig.Engine().TriggerVelocity, 90);
    rig.Transport.Stop();
}

TEST(Record, StopsInsteadWhileAStylePlaysOverAChordMemory) {
    TransportRig rig;
    rig.AttachSong();
    rig.Start(LongNotes());
    rig.Run(30);
    rig.Transport.Record();
    EXPECT_EQ(rig.Player().StyleActive, 0);
    EXPECT_EQ(rig.State().transport.ChordPlayMode, 0);
    EXPECT_TRUE(rig.Test.prompter->Shown().empty()) << "no question asked";
}

TEST_F(SongTransport, PunchInTicksTheOverwriteBoxAndAsksWhereToStart) {
    rig.Test.prompter->AnswerYes();
    rig.Transport.PunchIn();
    EXPECT_TRUE(rig.StandIn.Overwrite);
    EXPECT_TRUE(rig.Test.prompter->WasShown("Start Recording at Measure 1"));
    EXPECT_EQ(rig.StandIn.SongStartRecordings, 1) << "a start measure below 2 records from the song's start";
    EXPECT_EQ(rig.StandIn.Cleared, 0) << "overwriting keeps the chords";
    EXPECT_EQ(rig.State().transport.ChordPlayMode, 1);
    rig.Transport.Stop();
}

std::vector<std::int64_t> TicksOf(const std::vector<SentMessage>& messages) {
    std::vector<std::int64_t> ticks;
    for (const SentMessage& m : messages) ticks.push_back(m.Tick);
    return ticks;
}

TEST(CountIn, ClicksOneMeasureBeforeTheMusicWithHalfBeatsAtTheEndOfFourFour) {
    struct Case { const char* metrum; int beats; std::vector<std::int64_t> clicks; };
    for (const Case& c : {Case{"3/4", 3, {1, 25, 49}}, Case{"4/4", 4, {1, 25, 49, 61, 73, 85}}}) {
        SCOPED_TRACE(c.metrum);
        TransportRig rig;
        rig.AttachSong();
        rig.Options().CountIn = true;
        rig.Clock.SelectMetrum(engine::MetrumIndexOf(c.metrum));
        rig.Clock.StartVirtual(120);
        rig.Transport.Play();
        rig.Run(24 * c.beats);
        EXPECT_EQ(TicksOf(rig.Clicks()), c.clicks);
        EXPECT_EQ(rig.Clicks().front().Data2, 60) << "the count-in begins on an accent";
        EXPECT_EQ(rig.State().transport.CountInActive, 1);
        rig.Run(1);
        EXPECT_EQ(rig.State().transport.CountInActive, 0) << "the music starts after the count-in";
    }
}

TEST(Metronome, AccentsTheFirstOfEachGroupAndClicksTheOthersFortyBelowTheLevel) {
    TransportRig rig;
    rig.Options().Metronome = true;
    rig.Clock.SelectMetrum(engine::MetrumIndexOf("3/4"));
    for (int i = 0; i < 6; ++i) rig.Transport.MetronomeClick(107);
    std::vector<int> velocities;
    for (const SentMessage& m : rig.Clicks()) velocities.push_back(m.Data2);
    EXPECT_EQ(velocities, (std::vector<int>{67, 67, 60, 67, 67, 60}));
    rig.Out.Open = false;
    rig.Transport.MetronomeClick(107);
    EXPECT_EQ(rig.State().transport.MetronomeCount, 0) << "a closed output does not count";

    TransportRig live;
    live.Options().Metronome = true;
    live.Start(LongNotes());
    live.RunTo(TickOf(3));
    EXPECT_EQ(live.Clicks().size(), 8u) << "live play clicks every beat";
}

TEST(SlaveMode, SyncStartHoldsTheStyleUntilTheExternalStartThenEachClockIsOneTick) {
    TransportRig rig;
    ASSERT_TRUE(rig.Load(NoteEveryTick()));
    rig.Options().SlaveMode = true;
    rig.Clock.ToggleClock();
    rig.Transport.ToggleSyncStart();
    EXPECT_EQ(rig.ClockFields().TickDelay, 2000);
    rig.Transport.StartStyle();
    for (int i = 0; i < 30; ++i) rig.Clock.OnRealtimeByte(0xF8);
    EXPECT_TRUE(rig.Out.NoteOns(0).empty()) << "held";
    rig.Clock.OnRealtimeByte(0xFA);
    for (int i = 0; i < 25; ++i) rig.Clock.OnRealtimeByte(0xF8);
    EXPECT_EQ(rig.Out.NoteOns(0).size(), 25u);
    rig.Clock.OnRealtimeByte(0xFC);
    EXPECT_EQ(rig.Player().StyleActive, 0) << "the external stop stops";
    EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
}

TEST(SyncStart, OutsideSlaveModeWaitsForTheChordThatStartsTheStyleAndStopsAPlayingStyleToWaitAgain) {
    TransportRig rig;
    chords::ChordRecogniser recogniser(rig.Session(), rig.State().chords, rig.Options(), rig.Accompaniment);
    rig.Session().SetChordLink(&recogniser);
    ASSERT_TRUE(rig.Load(LongNotes()));
    rig.Clock.StartVirtual(120);
    const auto& transport = rig.State().transport;
    rig.Transport.ToggleSyncStart();
    EXPECT_TRUE(transport.SyncStartArmed);
    EXPECT_EQ(rig.ClockFields().TickDelay, 0) << "no external start is awaited";
    rig.Transport.ToggleSyncStart();
    EXPECT_FALSE(transport.SyncStartArmed) << "a second press takes it back";

    rig.Transport.ToggleSyncStart();
    recogniser.SetChord(50, 2, chords::NoOffset);
    EXPECT_EQ(rig.Player().StyleActive, 1);
    EXPECT_FALSE(transport.SyncStartArmed) << "the chord started the style";
    rig.Run(100);
    ASSERT_FALSE(rig.Out.NoteOns(0).empty());

    rig.Transport.ToggleSyncStart();
    EXPECT_EQ(rig.Player().StyleActive, 0) << "pressed while playing, the style stops";
    EXPECT_TRUE(transport.SyncStartArmed) << "and waits for the next chord";
    EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
    const std::size_t notesBefore = rig.Out.NoteOns(0).size();
    rig.Run(100);
    EXPECT_EQ(rig.Out.NoteOns(0).size(), notesBefore) << "nothing plays while it waits";
    recogniser.SetChord(48, 1, chords::NoOffset);
    EXPECT_EQ(rig.Player().StyleActive, 1);
    EXPECT_FALSE(transport.SyncStartArmed);

    rig.Transport.ToggleSyncStart();
    rig.Transport.Stop();
    EXPECT_FALSE(transport.SyncStartArmed) << "Stop ends the wait";
}

TEST(SlaveMode, PlayArmsTheHoldWithoutACountInAndPlayAgainReleasesIt) {
    TransportRig rig;
    rig.AttachSong();
    rig.Options().CountIn = true;
    rig.Options().SlaveMode = true;
    rig.Clock.ToggleClock();
    rig.Transport.Play();
    EXPECT_EQ(rig.State().transport.CountInActive, 0);
    EXPECT_EQ(rig.ClockFields().TickDelay, 2000);
    EXPECT_EQ(rig.ClockFields().TickInBeat, 24);
    EXPECT_EQ(rig.ClockFields().GridBeat, rig.ClockFields().GridBeats + 1);
    EXPECT_EQ(rig.Engine().SongStarting, 0);
    rig.Clock.OnRealtimeByte(0xFC);
    EXPECT_LT(rig.State().transport.ChordPlayMode, 0) << "a stop while held does nothing";
    rig.Transport.Play();
    EXPECT_EQ(rig.ClockFields().TickDelay, 0);
    rig.Clock.OnRealtimeByte(0xF8);
    EXPECT_EQ(rig.ClockFields().TickInBeat, 1) << "the first external clock begins a new beat";
    rig.Clock.OnRealtimeByte(0xFC);
    EXPECT_EQ(rig.State().transport.ChordPlayMode, 0);
    EXPECT_EQ(rig.ClockFields().ClockState, -1) << "the slave clock keeps listening";
}

TEST(MasterMode, SendsStartAtTheStyleStartATimingClockEachTickAndStopAtStop) {
    TransportRig rig;
    RecordingOutput clockOut{&rig.ClockFields().TickCount};
    rig.Session().SetClockOutput(&clockOut);
    rig.Options().MasterMode = true;
    rig.Start(LongNotes());
    rig.Run(48);
    rig.Transport.Stop();
    ASSERT_EQ(clockOut.Messages.size(), 50u);
    EXPECT_EQ(clockOut.Messages.front().Status, 0xFA);
    for (std::size_t i = 1; i <= 48; ++i) EXPECT_EQ(clockOut.Messages[i].Status, 0xF8);
    EXPECT_EQ(clockOut.Messages.back().Status, 0xFC);
    rig.Session().SetClockOutput(nullptr);
}

TEST(Panic, AllNotesOffAndTheAccompanimentSwitchResetEveryChannelAndForgetTheSoundingNotes) {
    const std::pair<const char*, void (engine::Transport::*)()> actions[] = {
        {"All notes off", &engine::Transport::AllNotesOff},
        {"accompaniment switch", &engine::Transport::ToggleAccompaniment},
    };
    for (const auto& [label, action] : actions) {
        SCOPED_TRACE(label);
        TransportRig rig;
        rig.Start(LongNotes());
        rig.RunTo(TickOf(1, 2) + 10);
        (rig.Transport.*action)();
        EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
        for (const auto& row : rig.Engine().VelocityMap) {
            for (auto velocity : row) EXPECT_EQ(velocity, 0);
        }
        if (action != &engine::Transport::ToggleAccompaniment) continue;
        EXPECT_EQ(rig.State().transport.AccompanimentOn, 0);
        rig.Transport.ToggleAccompaniment();
        EXPECT_EQ(rig.State().transport.AccompanimentOn, 1) << "and the switch turns it on again";
    }
}

TEST(Panic, ResetControllersResetsEveryChannelKeepsTheVoiceChannelsSoundAndForgetsTheValues) {
    TransportRig rig;
    midi::ControllerTable& seen = rig.Session().Controllers();
    const int voice = 5;
    rig.State().engine.VoiceChannel = voice;
    seen.SetValue(voice, 0, 1);  // bank 1, program 25, volume 90, pan 30; reverb and chorus never sent
    seen.SetValue(voice, midi::ControllerTable::ProgramIndex, 25);
    seen.SetValue(voice, 7, 90);
    seen.SetValue(voice, 10, 30);
    seen.SetValue(voice, 11, 64);  // expression is a player's gesture: the reset clears it
    seen.SetValue(3, 7, 100);      // another channel's volume is not the player's sound
    rig.Transport.ResetControllers();

    // A reset on every channel, then the voice channel's bank, program and mixer bars, in the
    // order a synth takes them.
    std::vector<std::array<int, 3>> expected;
    for (int channel = 0; channel < 16; ++channel) expected.push_back({0xB0 | channel, 121, 0});
    expected.insert(expected.end(), {{0xB5, 0, 1}, {0xC5, 25, 0}, {0xB5, 7, 90}, {0xB5, 10, 30}});
    std::vector<std::array<int, 3>> sent;
    for (const SentMessage& m : rig.Out.Messages) sent.push_back({m.Status, m.Data1, m.Data2});
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(seen.Value(3, 7), 255);
    EXPECT_EQ(seen.Value(voice, midi::ControllerTable::ProgramIndex), 255);
}

TEST(TransportAttachment, TheEngineFallsBackToItsLoopingSectionsWhenTheTransportGoes) {
    TestSession test;
    app::AppState& app = test.state;
    engine::AccompanimentEngine accompaniment(*test.session, app.engine, app.clock, app.options);
    engine::Clock clock(*test.session, accompaniment, app.clock, app.options);
    {
        engine::Transport transport(*test.session, accompaniment, clock, app.transport, app.melody, app.options,
                                    app.config);
        test.session->SetTransportLink(&transport);
        EXPECT_EQ(&accompaniment.Transport(), &transport);
    }
    EXPECT_EQ(&accompaniment.Transport(), &accompaniment.Sections());
    EXPECT_THROW(test.session->Transport(), core::UnwiredLink) << "the transport unwires itself as it goes";
}

}  // namespace
}  // namespace chordella::testing
