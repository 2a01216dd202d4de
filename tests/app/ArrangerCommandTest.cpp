// `chordella arranger`: finding ports, preparing a session from flags, and the stop that
// leaves nothing sounding.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/LiveArranger.h"
#include "app/PortLookup.h"
#include "app/SnapshotView.h"
#include "chords/KeyboardInput.h"
#include "cli/ArrangerCommand.h"
#include "cli/TerminalStatus.h"
#include "data/StyleModel.h"
#include "support/RunChordella.h"
#include "support/StuckNotes.h"
#include "support/StyleBuilder.h"
#include "support/CapturedText.h"
#include "support/TestSession.h"

namespace chordella::app {

using namespace chordella::cli;

namespace {

using testing::CapturedText;

TEST(FindPort, ANumberAnExactNameOrTheOnlyNameContainingTheTextFindsThePort) {
    testing::TestSession t;
    midi::MidiBackend& backend = t.session->MidiBackend();
    EXPECT_EQ(FindPort(backend, true, "1"), 1);
    EXPECT_EQ(FindPort(backend, true, "7"), std::nullopt);
    EXPECT_EQ(FindPort(backend, true, "Memory In 2"), 1);
    EXPECT_EQ(FindPort(backend, true, "in 1"), 0) << "case-insensitive part of a name";
    EXPECT_EQ(FindPort(backend, true, "memory"), std::nullopt) << "more than one fits";
    EXPECT_EQ(FindPort(backend, false, "out 3"), 2);
    EXPECT_EQ(FindPort(backend, false, "Memory Synth"), -1);
    EXPECT_EQ(FindPort(backend, true, "99999999999999"), std::nullopt);
}

TEST(PrepareArranger, OpensTheBuiltInSynthAndTheFirstKeyboardOrThePortsNamed) {
    {
        testing::TestSession t;
        LiveArranger arranger(*t.session, t.state);
        CapturedText err;
        ArrangerFlags flags;
        flags.firstKey = 36;
        flags.lastKey = 54;
        ASSERT_TRUE(PrepareArranger(*t.session, t.state, flags, err.file)) << err.Text();
        EXPECT_TRUE(t.midi->IsOutputOpen(-1));
        EXPECT_TRUE(t.midi->IsInputOpen(0));
        EXPECT_FALSE(t.midi->IsInputOpen(1));
        EXPECT_EQ(t.state.chords.FirstKey, 36);
        EXPECT_EQ(t.state.config.Keys.LastChordKey, 54);
    }
    testing::TestSession t;
    LiveArranger arranger(*t.session, t.state);
    ArrangerFlags flags;
    flags.in = "In 2";
    flags.out = "Out 2";
    flags.secondIn = "Memory In 1";
    CapturedText err;
    ASSERT_TRUE(PrepareArranger(*t.session, t.state, flags, err.file)) << err.Text();
    EXPECT_TRUE(t.midi->IsOutputOpen(1));
    EXPECT_TRUE(t.midi->IsInputOpen(0));
    EXPECT_TRUE(t.midi->IsInputOpen(1));
}

TEST(PrepareArranger, AnUnknownPortAnEmptyChordZoneOrAMissingStyleIsRefusedWithNothingOpened) {
    struct Case {
        const char* Name;
        void (*Set)(ArrangerFlags&);
        const char* Said;
    };
    const Case cases[] = {
        {"unknown output", [](ArrangerFlags& f) { f.out = "Nowhere"; }, "Nowhere: no such MIDI output"},
        {"empty chord zone", [](ArrangerFlags& f) { f.firstKey = 60, f.lastKey = 59; }, "chord zone"},
        {"missing style", [](ArrangerFlags& f) { f.style = "/nowhere/missing.vxs"; }, "missing.vxs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        testing::TestSession t;
        LiveArranger arranger(*t.session, t.state);
        ArrangerFlags flags;
        c.Set(flags);
        CapturedText err;
        EXPECT_FALSE(PrepareArranger(*t.session, t.state, flags, err.file));
        EXPECT_NE(err.Text().find(c.Said), std::string::npos) << err.Text();
        EXPECT_FALSE(t.midi->IsInputOpen(0)) << "nothing is opened for a command that fails";
        EXPECT_FALSE(t.midi->IsOutputOpen(-1));
    }
}

TEST(LiveArranger, StopReleasesTheNotesThePlayerStillHolds) {
    testing::TestSession t;
    LiveArranger arranger(*t.session, t.state);
    CapturedText err;
    ASSERT_TRUE(PrepareArranger(*t.session, t.state, ArrangerFlags{}, err.file)) << err.Text();
    ASSERT_TRUE(t.midi->Feed(0, 0, {0x90, 72, 100, 0x90, 76, 100}));
    t.session->Loop().RunPending();
    ASSERT_EQ(t.midi->Sent(-1).size(), 2u);
    t.midi->ClearSent(-1);
    arranger.Stop();
    int released = 0;
    for (const midi::SentMessage& m : t.midi->Sent(-1)) {
        if ((m.Packed & 0xF0) == 0x90 && ((m.Packed >> 16) & 0x7F) == 0) ++released;
    }
    EXPECT_EQ(released, 2);
    const std::size_t afterStop = t.midi->Sent(-1).size();
    arranger.Stop();
    EXPECT_EQ(t.midi->Sent(-1).size(), afterStop) << "a second Stop sends nothing";
}

TEST(LiveArranger, OnTheRealClockTheStylePlaysAChordTransposesItAndStopLeavesNothingSounding) {
    testing::TestSession t;
    LiveArranger arranger(*t.session, t.state);
    testing::StyleBuilder b;
    b.Meter(4).Tempo(120);
    auto& basic = b.Part(data::StylePart::Basic).Measures(1);
    for (int at = 0; at < 96; at += 12) basic.Note(0, 60, 100, at, 6);
    ArrangerFlags flags;
    flags.style = t.home.Path() + "/Live.vxs";
    flags.tempo = 240;
    ASSERT_TRUE(b.Write(flags.style));
    CapturedText err;
    ASSERT_TRUE(PrepareArranger(*t.session, t.state, flags, err.file)) << err.Text();

    arranger.Start(flags.tempo);
    platform::EventLoop& loop = t.session->Loop();
    // A minor from the keyboard after a quarter second; the loop ends when an A has sounded
    // (or, should it never, after a minute).
    loop.StartTimer(std::chrono::milliseconds(250), false,
                    [&] { t.midi->Feed(0, 0, {0x90, 45, 100, 0x90, 48, 100, 0x90, 52, 100}); });
    const auto poll = loop.StartTimer(std::chrono::milliseconds(10), true, [&] {
        for (const midi::SentMessage& m : t.midi->Sent(-1))
            if ((m.Packed & 0xF0) == 0x90 && ((m.Packed >> 16) & 0x7F) > 0 && ((m.Packed >> 8) & 0x7F) % 12 == 9)
                loop.Quit(0);
    });
    const auto giveUp = loop.StartTimer(std::chrono::seconds(60), false, [&] { loop.Quit(0); });
    loop.Run();
    loop.StopTimer(poll);
    loop.StopTimer(giveUp);
    arranger.Stop();

    std::vector<testing::SentMessage> sent;
    bool transposed = false;
    for (const midi::SentMessage& m : t.midi->Sent(-1)) {
        const testing::SentMessage message{0, static_cast<std::uint8_t>(m.Packed), static_cast<std::uint8_t>(m.Packed >> 8),
                                           static_cast<std::uint8_t>(m.Packed >> 16)};
        if (message.IsNoteOn() && message.Data1 % 12 == 9) transposed = true;
        // Only real releases count: all-notes-off is not trusted to end a note.
        if (!message.IsController(123) && !message.IsController(120)) sent.push_back(message);
    }
    EXPECT_TRUE(transposed) << "the style followed A minor";
    EXPECT_TRUE(testing::NoStuckNotes(sent));
    EXPECT_EQ(t.state.clock.ClockState, 0);
}

TEST(LiveArranger, ThePanicResetsEveryChannelAndForgetsAChordKeyWhoseReleaseWasLost) {
    testing::TestSession t;
    LiveArranger arranger(*t.session, t.state);
    CapturedText err;
    ASSERT_TRUE(PrepareArranger(*t.session, t.state, ArrangerFlags{}, err.file)) << err.Text();
    // C E G in the chord zone; E and G are released, the release of C is lost.
    ASSERT_TRUE(t.midi->Feed(0, 0, {0x90, 48, 100, 0x90, 52, 100, 0x90, 55, 100, 0x90, 52, 0, 0x90, 55, 0}));
    t.session->Loop().RunPending();
    ASSERT_EQ(t.session->Style().heldNotes.Count, 1);
    t.midi->ClearSent(-1);
    arranger.Panic();
    EXPECT_EQ(t.session->Style().heldNotes.Count, 0);
    int resets = 0;
    for (const midi::SentMessage& m : t.midi->Sent(-1)) resets += (m.Packed & 0xF0) == 0xB0 && ((m.Packed >> 8) & 0x7F) == 123;
    EXPECT_EQ(resets, 16);
    EXPECT_LE(t.midi->Sent(-1).size(), 100u) << "the panic fits one short audio period";
}

TEST(ArrangerStatus, TheLineShowsChordPartPositionAndTempoOnceAChordStartedTheStyle) {
    auto view = std::make_unique<SnapshotView>();
    const SnapshotView& shown = *view;
    testing::TestSession t(1, std::move(view));
    LiveArranger arranger(*t.session, t.state);
    testing::StyleBuilder b;
    b.Meter(4).Tempo(120);
    b.Part(data::StylePart::Basic).Measures(1).Note(0, 60, 100, 0, 90);
    ArrangerFlags flags;
    flags.style = t.home.Path() + "/Status.vxs";
    ASSERT_TRUE(b.Write(flags.style));
    CapturedText err;
    ASSERT_TRUE(PrepareArranger(*t.session, t.state, flags, err.file)) << err.Text();
    arranger.Ready(150);
    EXPECT_EQ(t.session->Style().player.StyleActive, 0) << "nothing plays before the first chord";
    EXPECT_EQ(TerminalStatus::StatusLine(*t.session, t.state, shown), "Chord -   Part -   -:-   150 bpm");

    ASSERT_TRUE(t.midi->Feed(0, 0, {0x90, 45, 100, 0x90, 48, 100, 0x90, 52, 100}));  // A minor
    t.session->Loop().RunPending();
    EXPECT_EQ(t.session->Style().player.StyleActive, 1) << "the chord started the style";
    // The chord is named when it takes effect on the clock's next tick, as in the window's panel.
    EXPECT_TRUE(t.RunUntil([&] {
        return TerminalStatus::StatusLine(*t.session, t.state, shown).find("Chord A") != std::string::npos;
    })) << TerminalStatus::StatusLine(*t.session, t.state, shown);
    const std::string line = TerminalStatus::StatusLine(*t.session, t.state, shown);
    EXPECT_NE(line.find("Part Basic"), std::string::npos) << line;
    // The clock runs in real time: on a slow machine a beat may have passed before the line
    // is read, so any beat of the first measure will do.
    EXPECT_NE(line.find("   1:"), std::string::npos) << line;
    EXPECT_NE(line.find("150 bpm"), std::string::npos) << line;
    arranger.Stop();
}

TEST(ArrangerCommand, HelpNamesTheChordZoneTheSectionKeysAndThePanicKey) {
    const testing::CommandResult result = testing::RunChordella("arranger --help");
    EXPECT_EQ(result.exitCode, 0);
    for (const char* text : {"chord zone is keys 40 (E2) … 59 (B3)", "Fill in 36 (C2)", "Ending 38", "To Basic 39",
                             "Intro 35", "p = panic", "--start", "SIGHUP"}) {
        EXPECT_NE(result.output.find(text), std::string::npos) << text << " in:\n" << result.output;
    }
}

}  // namespace
}  // namespace chordella::app
