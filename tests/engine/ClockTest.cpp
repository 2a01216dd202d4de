// The clock: the chord grid and meter tables, the tempo field and clock button, the slave
// and master modes, and the virtual clock.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/ClockTables.h"
#include "engine/EngineRig.h"

namespace chordella::testing {
namespace {

using data::StylePart;
using engine::MeterKind;

// Submits a new chord `delay` ticks into each of `units` grid units of `unitTicks` and
// returns the ticks at which the style took each one up.
std::vector<std::int64_t> ChordChangeTicks(EngineRig& rig, int units, int unitTicks, int delay) {
    std::vector<std::int64_t> changes;
    for (int u = 0; u < units; ++u) {
        while ((rig.ClockFields().TickCount - 1) % unitTicks != delay) rig.Run(1);
        rig.Chord(49 + u, 1);
        while (rig.Engine().StyleRoot != 49 + u && rig.ClockFields().TickCount < 100000) rig.Run(1);
        changes.push_back(rig.ClockFields().TickCount);
    }
    return changes;
}

StyleBuilder OneNoteStyle() {
    StyleBuilder b;
    b.Part(StylePart::Basic).Measures(2).Note(0, 60, 100, 0, 6);
    return b;
}

TEST(Quantize, SixEighthsMakesAGridUnitOfSixBeatsOfTwelveTicks) {
    EngineRig rig;
    rig.Clock.SelectQuantize(engine::QuantizeIndexOf("6/8"));
    EXPECT_EQ(rig.ClockFields().MeterKind, MeterKind::Eighth);
    rig.Play(OneNoteStyle());
    rig.Run(1);
    for (std::int64_t tick : ChordChangeTicks(rig, 3, 72, 20)) {
        EXPECT_EQ((tick - 1) % 72, 0) << "chord applied at tick " << tick;
    }
}

TEST(Quantize, AChordJustAfterTheUnitStartsStillCountsForIt) {
    EngineRig rig;
    rig.Clock.SelectQuantize(engine::QuantizeIndexOf("4/4"));
    rig.Play(OneNoteStyle());
    rig.Run(96 + 3);  // tick 3 of the second unit
    rig.Chord(50, 1);
    rig.Run(1);
    EXPECT_EQ(rig.Engine().StyleRoot, 50) << "applied at once inside the early window";
    rig.Run(10);
    rig.Chord(52, 1);
    rig.Run(60);
    EXPECT_EQ(rig.Engine().StyleRoot, 50) << "later in the unit the chord waits";
    rig.Run(30);
    EXPECT_EQ(rig.Engine().StyleRoot, 52);
}

TEST(Quantize, ChangingTheGridKindRescalesANegativeStartMeasure) {
    EXPECT_EQ(engine::RescaleStartMeasure(-3, MeterKind::Quarter, MeterKind::Eighth), -6);
    EXPECT_EQ(engine::RescaleStartMeasure(-3, MeterKind::Eighth, MeterKind::Quarter), -1);
    EXPECT_EQ(engine::RescaleStartMeasure(5, MeterKind::Quarter, MeterKind::Eighth), 5);
    EXPECT_EQ(engine::RescaleStartMeasure(-3, MeterKind::Eighth, MeterKind::Eighth), -3);
}

struct KindRecorder final : engine::TickLink {
    void ApplyCommandKey() override {}
    void SectionStep() override {}
    void StopTransport() override { ++Stops; }
    void MeterKindChanged(MeterKind from, MeterKind to) override { Changes.emplace_back(from, to); }
    void MeasureUnitsSetFromFile() override { ++FromFile; }
    bool ChordMemoryBusy() override { return Busy; }
    std::vector<std::pair<MeterKind, MeterKind>> Changes;
    int Stops = 0;
    int FromFile = 0;
    bool Busy = false;
};

// An engine rig whose tick hooks are recorded while the test runs.
struct ClockHooks : ::testing::Test {
    ClockHooks() { rig.Accompaniment.SetTransport(&hooks); }
    ~ClockHooks() override { rig.Accompaniment.SetTransport(nullptr); }
    EngineRig rig;
    KindRecorder hooks;
};

TEST_F(ClockHooks, TheOneEighthMetrumAlsoSelectsTheOneEighthGridAndTellsTheKindChangeAndTheButtonWaitsForTheChordMemory) {
    hooks.Busy = true;
    rig.Clock.ToggleClock();
    EXPECT_EQ(rig.ClockFields().ClockState, 0) << "the clock button is ignored while the chord memory plays or records";

    rig.Clock.SelectQuantize(engine::QuantizeIndexOf("4/4"));
    rig.Clock.SelectMetrum(engine::MetrumIndexOf("1/8"));
    EXPECT_EQ(rig.ClockFields().QuantizeIndex, engine::QuantizeIndexOf("1/8"));
    EXPECT_EQ(rig.ClockFields().TicksPerBeat, 12);
    ASSERT_EQ(hooks.Changes.size(), 1u);
    EXPECT_EQ(hooks.Changes[0].first, MeterKind::Quarter);
    EXPECT_EQ(hooks.Changes[0].second, MeterKind::Eighth);
}

TEST_F(ClockHooks, AMeasureLengthFromAFileSelectsItsMetrumEntry) {
    rig.Clock.SetMeasureUnitsFromFile(12);
    EXPECT_EQ(rig.ClockFields().MetrumIndex, engine::MetrumIndexOf("3/4"));
    rig.Clock.SetMeasureUnitsFromFile(4);
    EXPECT_EQ(rig.ClockFields().MetrumIndex, engine::MetrumIndexOf("1/4")) << "on a quarter grid";
    rig.Clock.SelectQuantize(engine::QuantizeIndexOf("2/8"));
    rig.Clock.SetMeasureUnitsFromFile(4);
    EXPECT_EQ(rig.ClockFields().MetrumIndex, engine::MetrumIndexOf("1/8")) << "on an eighth grid";
    rig.Clock.SetMeasureUnitsFromFile(0);
    rig.Clock.SetMeasureUnitsFromFile(-16);
    EXPECT_EQ(rig.ClockFields().MeasureUnits, 4) << "no length changes nothing";
    EXPECT_EQ(hooks.FromFile, 3);
}

TEST(TempoField, ATempoOutsideTwentyFiveToTwoHundredFiftyLeavesTheRunningTimerAlone) {
    EngineRig rig;
    rig.Clock.TempoFieldChanged(120);
    EXPECT_EQ(rig.ClockFields().TimerId, 0) << "no timer while the clock is off";
    rig.Clock.ToggleClock();
    EXPECT_EQ(rig.ClockFields().ClockState, 1);
    EXPECT_EQ(rig.ClockFields().TimerId, 120);
    EXPECT_EQ(rig.ClockFields().TickPeriod, 21);
    for (int wild : {24, 251, 0, -5}) {
        rig.Clock.TempoFieldChanged(wild);
        EXPECT_EQ(rig.ClockFields().TimerId, 120) << wild;
        EXPECT_EQ(rig.ClockFields().TickPeriod, 21) << wild;
    }
    rig.Clock.TempoFieldChanged(250);
    EXPECT_EQ(rig.ClockFields().TickPeriod, 10);
    rig.Clock.TempoFieldChanged(25);
    EXPECT_EQ(rig.ClockFields().TickPeriod, 100);
    rig.Clock.ToggleClock();
    EXPECT_EQ(rig.ClockFields().ClockState, 0);
    EXPECT_EQ(rig.ClockFields().TimerId, 0);
}

TEST_F(ClockHooks, InSlaveModeEachClockByteIsATickStartAndContinueEndTheHoldAndStopActsOnlyWhenNothingHolds) {
    rig.Options().SlaveMode = true;
    rig.Clock.SelectQuantize(engine::QuantizeIndexOf("4/4"));
    rig.Clock.ToggleClock();
    EXPECT_EQ(rig.ClockFields().ClockState, -1);
    EXPECT_EQ(rig.ClockFields().TimerId, 0);
    for (int i = 0; i < 25; ++i) rig.Clock.OnRealtimeByte(0xF8);
    rig.Clock.OnRealtimeByte(0xFE);  // active sensing is not a tick
    EXPECT_EQ(rig.ClockFields().TickCount, 25);
    EXPECT_EQ(rig.ClockFields().TickInBeat, 1) << "24 ticks make a beat; the 25th starts the next";
    EXPECT_EQ(rig.ClockFields().GridBeat, 2);

    rig.ClockFields().TickInBeat = 0;
    rig.ClockFields().TickDelay = 2000;
    rig.Clock.OnRealtimeByte(0xFC);
    EXPECT_EQ(hooks.Stops, 0);
    rig.Clock.OnRealtimeByte(0xF8);
    EXPECT_EQ(rig.ClockFields().TickInBeat, 0) << "held";
    rig.Clock.OnRealtimeByte(0xFA);
    EXPECT_EQ(rig.ClockFields().TickDelay, 0);
    rig.Clock.OnRealtimeByte(0xF8);
    EXPECT_EQ(rig.ClockFields().TickInBeat, 1);
    rig.ClockFields().TickDelay = 5;
    rig.Clock.OnRealtimeByte(0xFB);
    rig.Clock.OnRealtimeByte(0xFC);
    EXPECT_EQ(hooks.Stops, 1);
}

TEST(VirtualClock, RunsOnAnExactTimeLineDoesNothingWhileOffAndIgnoresExternalClockBytes) {
    EngineRig timed;
    timed.Clock.StartVirtual(200);
    timed.Clock.OnRealtimeByte(0xF8);
    EXPECT_EQ(timed.ClockFields().TickCount, 0) << "an internal clock ignores external clock bytes";
    timed.Run(24 * 200);
    EXPECT_EQ(timed.Clock.VirtualMicros(), 60'000'000) << "200 beats at 200 bpm take one minute";
    EXPECT_EQ(timed.ClockFields().TickPeriod, 12) << "the millisecond period (12.5, a half rounds down)";

    EngineRig rig;
    rig.Play(OneNoteStyle());
    rig.ClockFields().ClockState = 0;
    rig.Run(48);
    EXPECT_TRUE(rig.Out.Messages.empty());
    EXPECT_EQ(rig.ClockFields().TickCount, 0);
}

TEST(StyleLoad, AnEighthNoteStyleMovesTheGridAndSetsTheMeterAndAnyLoadStopsThePlayingStyleAndResetsTheLimiter) {
    EngineRig rig;
    rig.Clock.SelectQuantize(engine::QuantizeIndexOf("4/4"));
    StyleBuilder b;
    b.EighthMeter(6).Tempo(96);
    b.Part(StylePart::Basic).Note(0, 60, 100, 0, 6);
    ASSERT_TRUE(rig.Load(b));
    EXPECT_EQ(rig.ClockFields().QuantizeIndex, engine::QuantizeIndexOf("4/8"));
    EXPECT_EQ(rig.ClockFields().MeasureUnits, 12);
    EXPECT_EQ(rig.ClockFields().Tempo, 96) << "\"Tempo Detection\"";

    StyleBuilder quarter;
    quarter.Meter(3).Tempo(140);
    quarter.Part(StylePart::Basic).Note(0, 60, 100, 0, 6);
    rig.Options().TempoDetection = false;
    ASSERT_TRUE(rig.Load(quarter));
    EXPECT_EQ(rig.ClockFields().QuantizeIndex, engine::QuantizeIndexOf("4/4"));
    EXPECT_EQ(rig.ClockFields().MetrumIndex, engine::MetrumIndexOf("3/4"));
    EXPECT_EQ(rig.ClockFields().Tempo, 96);

    // A load stops a playing style and resets the limiter ceilings.
    rig.Play(quarter);
    rig.Run(3);
    rig.Engine().VelocityLimit[0] = 20;
    rig.Engine().VelocityLimit[9] = 20;
    ASSERT_TRUE(rig.Load(quarter));
    EXPECT_EQ(rig.Player().StyleActive, 0);
    EXPECT_EQ(rig.Engine().VelocityLimit[0], 73);
    EXPECT_EQ(rig.Engine().VelocityLimit[9], 100);
}

TEST(RealTimer, TheTimerDrivesTheTickProcedureOnTheControlThread) {
    EngineRig rig;
    rig.Clock.TempoFieldChanged(250);
    rig.Clock.ToggleClock();
    platform::EventLoop& loop = rig.Session().Loop();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (rig.ClockFields().TickCount < 5 && std::chrono::steady_clock::now() < giveUp) {
        if (!loop.RunPending()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GE(rig.ClockFields().TickCount, 5);
    rig.Clock.ToggleClock();
    const std::int64_t stopped = rig.ClockFields().TickCount;
    for (int i = 0; i < 30; ++i) {
        loop.RunPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(rig.ClockFields().TickCount, stopped) << "no tick after the clock was switched off";
}

}  // namespace
}  // namespace chordella::testing
