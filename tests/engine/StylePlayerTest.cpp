// How the style player reads the stream and shapes each event before it is sent.

#include <gtest/gtest.h>

#include "engine/ChannelSettings.h"
#include "engine/EngineRig.h"

namespace chordella::testing {
namespace {

using data::StylePart;

std::vector<int> Velocities(const std::vector<SentMessage>& messages) {
    std::vector<int> result;
    for (const SentMessage& m : messages) result.push_back(m.Data2);
    return result;
}

TEST(CompressorLimiter, CapsLoudNotesAndLiftsQuietOnesExceptOnTheDrumChannelAndNotInSongMode) {
    EngineRig rig;
    rig.Options().CompLimit = true;
    StyleBuilder b;
    b.Part(StylePart::Basic).Note(0, 60, 120, 0, 6).Note(0, 62, 40, 12, 6).Note(9, 36, 40, 24, 6).Note(9, 38, 120, 36, 6);
    rig.Play(b);
    rig.Engine().VelocityLimit[0] = 100;  // the load set the defaults (73, drums 100)
    rig.Run(48);
    EXPECT_EQ(Velocities(rig.Out.NoteOns(0)), (std::vector<int>{100, 80}));
    EXPECT_EQ(Velocities(rig.Out.NoteOns(9)), (std::vector<int>{40, 100}));

    // Song mode plays the stream untransposed and unshaped.
    rig.Player().StyleMode = false;
    rig.Chord(52, 2);
    rig.Run(48);
    rig.Out.Clear();
    rig.Run(24);
    EXPECT_EQ(TriplesOf(rig.Out.NoteOns(0)), (MessageTriples{{0x90, 60, 120}, {0x90, 62, 40}}));
}

TEST(FadeOut, VelocitiesDropByFiveEachBeatAndTheStyleStopsPastOneHundredAndTen) {
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic).Measures(1);
    for (int beat = 1; beat <= 4; ++beat) b.Part(StylePart::Basic).Note(0, 60, 100, b.Beat(beat), 6);
    rig.Play(b);
    rig.Player().FadeActive = 1;
    rig.Run(24 * 30);

    const auto velocities = Velocities(rig.Out.NoteOns(0));
    ASSERT_EQ(velocities.size(), 19u) << "notes whose velocity falls to 0 are not sent";
    for (std::size_t i = 0; i < velocities.size(); ++i) EXPECT_EQ(velocities[i], 95 - 5 * static_cast<int>(i));
    EXPECT_EQ(rig.Player().StyleActive, 0) << "the next note-on past 110 stops the transport";
    EXPECT_GT(rig.Player().FadeAmount, 110);
}

TEST(ControllerSuppression, ARepeatedVolumeIsSentOnceUnlessTransmitControllersIsOnAndAChangedValueIsSentAndRemembered) {
    for (bool transmit : {false, true}) {
        EngineRig rig;
        rig.Options().TransmitControllers = transmit;
        StyleBuilder b;
        b.Part(StylePart::Basic).Controller(0, 7, 100, 0).Controller(0, 7, 100, 12).Note(0, 60, 90, 0, 6);
        rig.Play(b);
        rig.Run(96);  // the first pass, just after the section switch
        const auto first = rig.Out.Where([](const SentMessage& m) { return m.IsController(7); });
        EXPECT_EQ(first.size(), 1u) << "transmit " << transmit;
        rig.Out.Clear();
        rig.Run(96);  // the part loops: the switch is over
        const auto second = rig.Out.Where([](const SentMessage& m) { return m.IsController(7); });
        EXPECT_EQ(second.size(), transmit ? 2u : 0u) << "transmit " << transmit;
    }
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic).Controller(0, 7, 100, 0).Controller(0, 7, 90, 12).Controller(0, 74, 5, 13)
        .Controller(0, 74, 5, 14);
    rig.Play(b);
    rig.Run(24);
    EXPECT_EQ(rig.Out.Where([](const SentMessage& m) { return m.IsController(7); }).size(), 2u);
    EXPECT_EQ(rig.Out.Where([](const SentMessage& m) { return m.IsController(74); }).size(), 2u)
        << "untracked controllers always pass";
    EXPECT_EQ(rig.Session().Controllers().Value(0, 7), 90);
}

TEST(StreamReading, AWaitOfF8TakesOneTickAndFFEightTicks) {
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic).Raw({0x90, 60, 100, 0xF8, 0x90, 61, 100, 0xFF, 0x90, 62, 100}, 0);
    rig.Play(b);
    rig.Run(24);
    const auto ons = rig.Out.NoteOns(0);
    ASSERT_EQ(ons.size(), 3u);
    EXPECT_EQ(ons[1].Tick - ons[0].Tick, 1);
    EXPECT_EQ(ons[2].Tick - ons[1].Tick, 8);
}

TEST(StreamReading, APositionOutsideTheBufferEndsTheStyleWithoutReadingThere) {
    for (std::int32_t pos : {-5, data::StreamCapacity - 1, data::StreamCapacity + 10}) {
        EngineRig rig;
        StyleBuilder b;
        b.Part(StylePart::Basic).Note(0, 60, 100, 0, 6);
        rig.Play(b);
        rig.Run(1);
        rig.Player().StylePos = pos;
        rig.Player().PlayEnd = data::StreamCapacity + 100;
        rig.Player().WaitTicks = 0;
        rig.Run(30);
        EXPECT_EQ(rig.Player().StyleActive, 0) << "position " << pos;
    }
}

TEST(ChannelFilter, SoloMutePartMuteAndPitchBendDecideWhichEventsPass) {
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic).Mute(2).Note(0, 60, 100, 0, 6).Note(1, 60, 100, 0, 6).Note(2, 60, 100, 0, 6).Event(0xE0, 0, 70, 1);
    rig.Play(b);
    engine::SetSoloFilter(rig.Engine(), 2);  // only channel 2 (index 1)
    rig.Run(24);
    EXPECT_TRUE(rig.Out.NoteOns(0).empty());
    EXPECT_EQ(rig.Out.NoteOns(1).size(), 1u);
    EXPECT_TRUE(rig.Out.Where([](const SentMessage& m) { return m.Kind() == 0xE0; }).empty())
        << "pitch bend needs \"Allow pitch bend\"";

    rig.Options().AllowPitchBend = true;
    engine::SetSoloFilter(rig.Engine(), 0);
    engine::SetSoloFilter(rig.Engine(), 17);  // no such filter: changes nothing
    engine::SetChannelMute(rig.Engine(), 1, true);
    engine::SetChannelMute(rig.Engine(), 16, true);  // no such channel: changes nothing
    EXPECT_EQ(rig.Engine().SoloFilter, 0);
    EXPECT_TRUE(engine::ChannelMuted(rig.Engine(), 1));
    EXPECT_FALSE(engine::ChannelMuted(rig.Engine(), 16));
    rig.Out.Clear();
    rig.Run(96);
    EXPECT_EQ(rig.Out.NoteOns(0).size(), 1u);
    EXPECT_TRUE(rig.Out.NoteOns(1).empty());
    EXPECT_TRUE(rig.Out.NoteOns(2).empty()) << "muted in the part";
    EXPECT_EQ(rig.Out.Where([](const SentMessage& m) { return m.Kind() == 0xE0; }).size(), 1u);

    rig.Engine().SoloFilter = 100;
    rig.Out.Clear();
    rig.Run(96);
    EXPECT_TRUE(rig.Out.Where([](const SentMessage& m) { return m.IsNoteOn(); }).empty());
}

TEST(MinusOne, ThePlayersSoloSilencesTheStyleOnTheVoiceChannelUntilTheNextMeasure) {
    EngineRig rig;
    rig.Options().MinusOne = true;
    rig.Engine().VoiceChannel = 3;
    StyleBuilder b;
    b.Part(StylePart::Basic).Note(3, 60, 100, 0, 6).Note(3, 62, 100, 30, 6);
    rig.Play(b);
    rig.Run(24);
    rig.Engine().PlayerSoloing = 1;
    rig.Run(72);
    EXPECT_EQ(rig.Out.NoteOns(3).size(), 1u) << "the second note falls while the player solos";
    rig.Run(96);
    EXPECT_EQ(rig.Out.NoteOns(3).size(), 3u) << "the next measure clears the solo";
}

TEST(OutputClosed, NothingIsSentAndThePositionStays) {
    EngineRig rig;
    StyleBuilder b;
    b.Part(StylePart::Basic).Note(0, 60, 100, 0, 6);
    rig.Play(b);
    rig.Out.Open = false;
    rig.Run(48);
    EXPECT_TRUE(rig.Out.Messages.empty());
    EXPECT_EQ(rig.ClockFields().TickInBeat, 0);
    EXPECT_EQ(rig.ClockFields().TickCount, 48);
}

TEST(StreamReading, AnEndOfBufferMarkContinuesInTheNextChainedBufferOrEndsTheStyle) {
    for (bool chained : {false, true}) {
        EngineRig rig;
        StyleBuilder b;
        b.Part(StylePart::Basic).Raw({0x90, 60, 100, 0xF8, 0xF0}, 0);
        rig.Play(b);
        data::StyleState& style = rig.Session().Style().style;
        if (chained) {
            ASSERT_TRUE(style.Stream.AddBuffer());
            const std::uint8_t next[] = {0x90, 61, 100, 0xF8, 0x00};
            std::copy(std::begin(next), std::end(next), style.Stream.Buffer(1));
        }
        rig.Run(1);
        rig.Player().LoopEnd = 1'000'000;
        rig.Run(6);
        const auto ons = rig.Out.NoteOns(0);
        ASSERT_EQ(ons.size(), chained ? 2u : 1u);
        if (chained) {
            EXPECT_EQ(ons[1].Tick - ons[0].Tick, 1);
        }
        EXPECT_EQ(rig.Player().StyleActive, 0) << "chained " << chained;
    }
}

TEST(Octave, AChordPlayedBelowTheOctaveBaseMovesTheStyleDownAnOctaveUnlessAdjustOctaveIsOn) {
    for (bool adjust : {false, true}) {
        EngineRig rig;
        rig.Options().AdjustChordOctave = adjust;
        StyleBuilder b;
        b.Part(StylePart::Basic).Note(0, 64, 100, 0, 6).Note(0, 48, 100, 12, 6);
        rig.Play(b);
        rig.Chord(45, 1);  // A2, below the C3 base
        rig.Run(24);
        const auto ons = rig.Out.NoteOns(0);
        ASSERT_EQ(ons.size(), 2u);
        EXPECT_EQ(ons[0].Data1, 64 + 9 - 12) << "a high note over A is lowered";
        EXPECT_EQ(ons[1].Data1, adjust ? 48 + 9 : 48 + 9 - 12) << "a low note stays only with Adjust octave";
    }
}

}  // namespace
}  // namespace chordella::testing
