#include <gtest/gtest.h>

#include "CreatorFixture.h"
#include "stylecreator/CreatorPlayback.h"
#include "stylecreator/CreatorRecording.h"
#include "stylecreator/QuickStyle.h"

namespace chordella::stylecreator {
namespace {

using data::StylePart;

std::vector<std::uint8_t> MaterialBytes(testing::CreatorFixture& f) {
    const auto material = f.host.Material();
    return {material.begin(), material.end()};
}

TEST(MidiRecorder, ClockTicksBecomeWaitBytesAndMessagesThreeBytesAndNoToReplacingThemKeepsThem) {
    testing::CreatorFixture f;
    MidiRecorder recorder(f.creator, f.host);
    recorder.Start(false);
    ASSERT_TRUE(recorder.Recording());
    for (int i = 0; i < 3; ++i) recorder.ClockTick();
    EXPECT_TRUE(recorder.Message(0x90, 60, 100));
    EXPECT_TRUE(recorder.Message(0xC1, 5, 0x7F));     // a program change keeps one data byte
    EXPECT_FALSE(recorder.Message(0xF2, 1, 2));       // not a channel message
    EXPECT_FALSE(recorder.Message(0x90, 200, 1));     // a wild data byte
    for (int i = 0; i < 9; ++i) recorder.ClockTick();
    ASSERT_TRUE(recorder.Stop());

    const std::vector<std::uint8_t> expected = {0xFA, 0x90, 60, 100, 0xC1, 5, 0, 0xFF, 0xF8};
    EXPECT_EQ(MaterialBytes(f), expected);
    EXPECT_EQ(f.Work().WorkLength, static_cast<std::int32_t>(expected.size()));
    EXPECT_EQ(f.Work().Chunks[0].Buffer[expected.size()], 0x00);

    // No to "Replace current work ?" keeps the recorded work.
    bool started = true;
    f.Prompter().AnswerNo();
    recorder.Start(false, [&](bool yes) { started = yes; });
    EXPECT_TRUE(f.Prompter().WasShown(ReplaceWorkQuestion));
    EXPECT_FALSE(started);
    EXPECT_FALSE(recorder.Recording());
    EXPECT_EQ(MaterialBytes(f), expected);
}

TEST(MidiRecorder, MeasureMarksRecordWhileRecordingAndJumpInStyleMode) {
    testing::CreatorFixture f;
    MidiRecorder recorder(f.creator, f.host);
    recorder.Start(true);
    for (int i = 0; i < 96 * 2; ++i) recorder.ClockTick();  // two measures of 4/4
    EXPECT_EQ(recorder.MeasureNow(), 3);
    EXPECT_FALSE(ClickMeasureMarks(f.state, true, recorder.MeasureNow()));
    recorder.Stop();

    f.state.Mode = CreatorMode::Song;
    EXPECT_FALSE(ClickMeasureMarks(f.state, false, 1));      // only in Style mode
    f.state.Mode = CreatorMode::Style;
    f.state.MarkPointer = 0;
    EXPECT_EQ(ClickMeasureMarks(f.state, false, 1), 3);
    EXPECT_EQ(f.state.StyleRange.StartMeasure, 3);
    EXPECT_EQ(f.state.StyleRange.StopMeasure, 0);
}

TEST(QuickStyle, CutNotesToggleAndTheWholeStyleFromTheLoop) {
    testing::CreatorFixture f;
    f.WriteMaterial(8);
    QuickStyle quick(f.Style(), f.setter, f.host, f.Prompter());
    quick.Run({}, 3, 4, /*fromButton=*/false, {});
    EXPECT_EQ(f.Part(StylePart::Basic).StartMeasure, 3);
    EXPECT_EQ(f.Part(StylePart::Basic).EndMeasure, 6);
    EXPECT_EQ(f.Part(StylePart::Extended).RangeStart, f.Part(StylePart::Basic).RangeStart);
    EXPECT_EQ(f.Part(StylePart::Extended).FollowUpCode, data::DefaultFollowUpCode(2));
    EXPECT_EQ(f.Part(StylePart::ToBasic).StartMeasure, 6);
    EXPECT_EQ(f.Part(StylePart::ToBasic).FollowUpCode, data::DefaultFollowUpCode(7));
    EXPECT_EQ(f.Part(StylePart::FillInExtended).EndMeasure, 6);

    quick.Run({.Alt = true}, 1, 4, true, {});
    EXPECT_TRUE(f.Prompter().WasShown(CutNotesActivated));
    EXPECT_EQ(f.Part(StylePart::Basic).CutNotes[1], 1);
    EXPECT_EQ(f.Part(StylePart::Basic).CutNotes[9], 0);   // the drums keep theirs
    EXPECT_EQ(f.Part(StylePart::Basic).CutNotes[0], 0);
    EXPECT_EQ(f.Part(StylePart::Intro).CutNotes[1], 0);   // parts not set stay as they are
    quick.Run({.Alt = true}, 1, 4, true, {});
    EXPECT_TRUE(f.Prompter().WasShown(CutNotesNotActivated));
    EXPECT_EQ(f.Part(StylePart::Basic).CutNotes[1], 0);

    quick.Run({.Shift = true}, 8, 1, true, {});              // fills from the loop
    EXPECT_EQ(f.Part(StylePart::FillInBasic).StartMeasure, 8);
    EXPECT_EQ(f.Part(StylePart::FillInExtended).StartMeasure, 8);
    EXPECT_EQ(f.Part(StylePart::FillInExtended).FollowUpCode, data::DefaultFollowUpCode(5));
}

TEST(CreatorPlayback, LoopsAtThePartEndStopsAfterAnEndingAndReplaysControllers) {
    data::PartRecord basic;
    basic.StartMeasure = 2;
    basic.EndMeasure = 3;
    basic.StartBeat = 1;
    EXPECT_EQ(StyleModeBeat(basic, 3, 4), BeatStep::Continue);
    EXPECT_EQ(StyleModeBeat(basic, 4, 1), BeatStep::LoopBack);
    basic.FollowUpCode = data::followup::Stop;
    EXPECT_EQ(StyleModeBeat(basic, 4, 1), BeatStep::Stop);
    EXPECT_EQ(MeasureBeatText(4, 1), "4:1");

    const std::vector<std::uint8_t> stream = {0xB0, 7, 90, 0xB0, 121, 0, 0xC1, 5, 0, 0xF8, 0xB2, 10, 30,
                                              0xD0, 40, 0, 0x90, 60, 100, 0xB0, 11, 70};
    std::array<std::uint8_t, 16> used{};
    used[0] = 1;
    used[1] = 1;
    const auto replay = ControllerReplay(stream, 19, used);
    ASSERT_EQ(replay.size(), 16U + 3U);
    EXPECT_EQ(replay[15], (ShortMessage{0xBF, 121, 0}));
    EXPECT_EQ(replay[16], (ShortMessage{0xB0, 7, 90}));   // CC121 of the stream is not replayed
    EXPECT_EQ(replay[17], (ShortMessage{0xC1, 5, 0}));    // channel 3 is unused: its pan is not
    EXPECT_EQ(replay[18], (ShortMessage{0xD0, 40, 0}));   // the controller after the start is not
}

TEST(CreatorPlayback, PartsAtThePlayingPositionRepairAndPercussionRemoval) {
    const PartRequest intro = PartAtPosition(PartMenuItem::Intro, 7, 4);
    EXPECT_EQ(intro.StartMeasure, 2);
    EXPECT_EQ(intro.EndMeasure, 5);
    const PartRequest variation = PartAtPosition(PartMenuItem::VariationExtended, 7, 2);
    EXPECT_EQ(variation.Part, 5);
    EXPECT_TRUE(variation.Variation);
    EXPECT_EQ(variation.EndMeasure, 8);
    EXPECT_EQ(PartAtPosition(PartMenuItem::ToBasic, 7, 4).EndMeasure, 7);

    testing::CreatorFixture f;
    f.WriteMaterial(8);
    PartOutcome outcome;
    f.setter.SetNow(testing::PartRange(StylePart::FillInBasic, 5, 5), outcome);
    f.setter.SetNow(testing::PartRange(StylePart::ToExtended, 6, 6), outcome);
    for (const PartRequest& request : RepairRequests(f.Style(), true)) f.setter.SetNow(request, outcome);
    EXPECT_EQ(f.Part(StylePart::FillInExtended).StartMeasure, 5);
    EXPECT_EQ(f.Part(StylePart::ToBasic).StartMeasure, 6);

    std::vector<std::uint8_t> stream = {0x99, 30, 100, 0xF8, 0x99, 36, 100, 0x90, 30, 100, 0x99, 34, 100};
    data::PartTable parts{};
    parts[1].StartMeasure = 1;
    parts[1].EndMeasure = 1;
    parts[1].RangeStart = 0;
    parts[1].RangeEnd = 10;
    EXPECT_EQ(RemovePercussionSounds(parts, stream), 1);
    EXPECT_EQ(stream[2], 0);
    EXPECT_EQ(stream[6], 100);
    EXPECT_EQ(stream[9], 100);
    EXPECT_EQ(stream[12], 100);  // beyond the part
}

}  // namespace
}  // namespace chordella::stylecreator
