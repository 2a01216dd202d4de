// The control keys and chord-memory commands ApplyCommandKey carries out, tap tempo and the
// intro start modes.

#include <gtest/gtest.h>

#include "engine/IntroStart.h"
#include "engine/TapTempo.h"
#include "engine/TransportRig.h"

namespace chordella::testing {
namespace {

using data::StylePart;

StyleBuilder BasicOnly() {
    StyleBuilder b;
    b.Part(StylePart::Basic).Note(0, 60, 100, 0, 12);
    return b;
}

// While the clock is off a key is carried out at once.
void PressNow(TransportRig& rig, int key, int value = 0) {
    rig.Engine().PendingCommandKey = static_cast<std::int16_t>(key);
    rig.Engine().PendingCommandValue = static_cast<std::int16_t>(value);
    rig.Transport.ApplyCommandKey();
}

TEST(ControlKeys, TheEndingKeyWaitsForTheOutputTheKeysBelowTheIntroSwitchThePadAndExtendedNeedsItsPart) {
    TransportRig rig;
    rig.Out.Open = false;
    PressNow(rig, rig.State().config.Keys.Ending);
    EXPECT_EQ(rig.Session().Style().sections.NextSection, 0);
    EXPECT_EQ(rig.Engine().PendingCommandKey, rig.State().config.Keys.Ending) << "the key waits for the output";
    rig.Out.Open = true;
    PressNow(rig, rig.State().config.Keys.Ending);
    EXPECT_EQ(rig.Session().Style().sections.NextSection, 3);
    EXPECT_EQ(rig.Engine().PendingCommandKey, 0);

    // The two keys below the intro key switch the instrument pad; the Extended key needs an Extended part.
    PressNow(rig, rig.Lowest() - 2);
    EXPECT_EQ(rig.Engine().InstrumentPadOn, 1);
    PressNow(rig, rig.Lowest() - 3);
    EXPECT_EQ(rig.Engine().InstrumentPadOn, 0);
    ASSERT_TRUE(rig.Load(BasicOnly()));
    PressNow(rig, rig.Lowest() - 4);
    EXPECT_EQ(rig.Session().Style().sections.SectionRequest, -1);
}

TEST(ControlKeys, InSongModeArePassedToAnExternalArrangerAsATappedNoteButTheIntroKeyStopsIt) {
    TransportRig rig;
    RecordingOutput clockOut;
    rig.Session().SetClockOutput(&clockOut);
    rig.Player().StyleMode = false;
    rig.Engine().TriggerVelocity = 77;
    PressNow(rig, rig.State().config.Keys.FillIn);
    ASSERT_EQ(rig.Out.Messages.size(), 2u);
    EXPECT_EQ(rig.Out.Messages[0].Status, 0x90);
    EXPECT_EQ(rig.Out.Messages[0].Data1, rig.State().config.Keys.FillIn);
    EXPECT_EQ(rig.Out.Messages[0].Data2, 77);
    EXPECT_EQ(rig.Out.Messages[1].Data2, 0);
    EXPECT_EQ(rig.Session().Style().sections.SectionRequest, -1) << "no section request in song mode";
    EXPECT_TRUE(clockOut.Messages.empty());

    rig.Out.Clear();
    PressNow(rig, rig.Lowest() - 1);
    ASSERT_EQ(clockOut.Messages.size(), 1u);
    EXPECT_EQ(clockOut.Messages[0].Status, 0xFC);
    EXPECT_TRUE(rig.Out.Messages.empty()) << "the intro key is not tapped";
    rig.Session().SetClockOutput(nullptr);
}

TEST(SongCommands, TheTempoUnlessIgnoredAndInRangeAndTheProgramWhenItChangesUnlessCommandsAreIgnored) {
    TransportRig rig;
    PressNow(rig, 254, 90);
    EXPECT_EQ(rig.ClockFields().Tempo, 90);
    PressNow(rig, 254, 0);
    EXPECT_EQ(rig.ClockFields().Tempo, 90) << "a tempo of 0 would silence the clock";
    rig.Options().IgnoreTempi = true;
    PressNow(rig, 254, 140);
    EXPECT_EQ(rig.ClockFields().Tempo, 90);

    // A program change is requested only when the program changes.
    rig.AttachSong();
    PressNow(rig, 223, 5);
    PressNow(rig, 223, 5);
    PressNow(rig, 223, 6);
    EXPECT_EQ(rig.StandIn.Programs, 2);
    PressNow(rig, 223, 200);
    PressNow(rig, 223, 200);
    EXPECT_EQ(rig.StandIn.Programs, 4) << "programs above 127 are requested every time";
    rig.Options().IgnoreMidiCommands = true;
    PressNow(rig, 223, 9);
    EXPECT_EQ(rig.StandIn.Programs, 4);
    EXPECT_EQ(rig.Engine().PendingCommandKey, 0);
}

TEST(TapTempo, FourTapsTenStepsApartSetOneHundredTwentyAndStartTheStyle) {
    TransportRig rig;
    ASSERT_TRUE(rig.Load(BasicOnly()));
    rig.Clock.StartVirtual(90);
    engine::TapTempo tap(rig.Session(), rig.Clock, rig.Transport);
    tap.Open();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tap.Tap(), engine::TapTempo::TapResult::Counting);
        for (int step = 0; step < 10; ++step) tap.TimerStep();
    }
    EXPECT_EQ(rig.Player().StyleActive, 0);
    EXPECT_EQ(tap.Tap(), engine::TapTempo::TapResult::Done);
    EXPECT_EQ(tap.Tempo(), 120);
    EXPECT_EQ(rig.ClockFields().Tempo, 120);
    EXPECT_EQ(rig.Player().StyleActive, 1);
    EXPECT_EQ(rig.Clicks().size(), 4u) << "each tap clicks";
    rig.Clock.SetTempo(0);
}

TEST(TapTempo, TapsTooFastOrAfterTheLongestIntervalBeginANewSeriesAndTheTempoStaysInTheFieldsRange) {
    TransportRig rig;
    engine::TapTempo tap(rig.Session(), rig.Clock, rig.Transport);
    tap.Open();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(tap.Tap(), engine::TapTempo::TapResult::Counting) << "no step between taps";
    EXPECT_EQ(tap.Tempo(), 0);
    EXPECT_EQ(engine::TapTempo::TempoFromSteps(nullptr, 0), 0);
    tap.Tap();  // a tap long before the real series
    for (int step = 0; step < 300; ++step) tap.TimerStep();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tap.Tap(), engine::TapTempo::TapResult::Counting);
        for (int step = 0; step < 10; ++step) tap.TimerStep();
    }
    EXPECT_EQ(tap.Tap(), engine::TapTempo::TapResult::Done);
    EXPECT_EQ(tap.Tempo(), 120) << "four taps 500 ms apart";

    TransportRig waltz;  // counts the metronome group and averages the intervals
    waltz.Clock.SelectMetrum(engine::MetrumIndexOf("3/4"));
    engine::TapTempo three(waltz.Session(), waltz.Clock, waltz.Transport);
    three.Open();
    three.Tap();
    for (int step = 0; step < 8; ++step) three.TimerStep();
    three.Tap();
    for (int step = 0; step < 12; ++step) three.TimerStep();
    EXPECT_EQ(three.Tap(), engine::TapTempo::TapResult::Done);
    EXPECT_EQ(three.Tempo(), 120) << "(8 + 12) / 2 = 10 steps";

    const std::uint8_t slow[] = {200, 200, 200};
    EXPECT_EQ(engine::TapTempo::TempoFromSteps(slow, 3), 25) << "six bpm is below the field";
    const std::uint8_t fast[] = {1, 1, 1};
    EXPECT_EQ(engine::TapTempo::TempoFromSteps(fast, 3), 250);
    rig.Clock.SetTempo(0);
}

TEST(IntroStartModes, SetWhichChannelsPlayInTheLeadInAndTheSoloSelectorReturns) {
    TransportRig rig;
    std::int16_t& solo = rig.Engine().SoloFilter;
    using engine::IntroStartMode;
    struct Case { IntroStartMode mode; int position, solo; };
    for (const Case c : {Case{IntroStartMode::MuteAll, -8, 100}, Case{IntroStartMode::Drums, 0, 10},
                         Case{IntroStartMode::DrumsLeadInMeasures, -4, 10},
                         Case{IntroStartMode::DrumsLeadInMeasures, 0, 0}, Case{IntroStartMode::Metronome, -4, 100}}) {
        rig.Options().IntroStartMode = static_cast<int>(c.mode);
        engine::ApplyIntroStartMode(rig.Engine(), rig.Options(), rig.Transport, c.position);
        EXPECT_EQ(solo, c.solo) << "mode " << static_cast<int>(c.mode) << " at " << c.position;
    }
    EXPECT_EQ(rig.Clicks().size(), 1u);
    rig.Options().Metronome = true;
    engine::ApplyIntroStartMode(rig.Engine(), rig.Options(), rig.Transport, -4);
    EXPECT_EQ(rig.Clicks().size(), 1u) << "the metronome clicks the beat anyway";
    rig.Options().Solo = 5;
    engine::RestoreSoloSelector(rig.Engine(), rig.Options());
    EXPECT_EQ(solo, 5);
}

}  // namespace
}  // namespace chordella::testing
