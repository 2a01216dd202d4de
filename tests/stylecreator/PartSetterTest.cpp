#include <gtest/gtest.h>

#include "CreatorFixture.h"
#include "data/StyleStream.h"

namespace chordella::stylecreator {
namespace {

using data::StylePart;
using testing::CreatorFixture;

using testing::PartRange;

TEST(PartSetter, SettingBasicOnAFreshStyleChainsToExtendedAndFillInBasicAtItsLastMeasure) {
    CreatorFixture f;
    f.WriteMaterial(12);
    f.Prompter().AnswerYes();
    f.setter.Set(PartRange(StylePart::Basic, 1, 4), true);

    EXPECT_TRUE(f.Prompter().WasShown("Set as \" Basic \" ?"));
    EXPECT_EQ(f.Part(StylePart::Basic).StartMeasure, 1);
    EXPECT_EQ(f.Part(StylePart::Basic).LengthMeasures, 4);
    for (StylePart chained : {StylePart::ToExtended, StylePart::FillInBasic}) {
        EXPECT_EQ(f.Part(chained).StartMeasure, 4);
        EXPECT_EQ(f.Part(chained).EndMeasure, 4);
        EXPECT_EQ(f.Part(chained).FollowUpCode, data::DefaultFollowUpCode(data::Index(chained)));
    }
    EXPECT_FALSE(f.Part(StylePart::ToBasic).Present());
    EXPECT_EQ(f.Style().StyleModified, 1);

    // Set again: both move along; once the user moved To Extended it stays where it is.
    f.Prompter().AnswerYes();
    f.setter.Set(PartRange(StylePart::Basic, 1, 8), true);
    EXPECT_TRUE(f.Prompter().WasShown("Modify \" Basic \" ?"));
    EXPECT_EQ(f.Part(StylePart::ToExtended).StartMeasure, 8);
    EXPECT_EQ(f.Part(StylePart::FillInBasic).StartMeasure, 8);

    f.Prompter().AnswerYes();
    f.setter.Set(PartRange(StylePart::ToExtended, 10, 10), true);
    f.Prompter().AnswerYes();
    f.setter.Set(PartRange(StylePart::Basic, 2, 6), true);
    EXPECT_EQ(f.Part(StylePart::ToExtended).StartMeasure, 10);
    EXPECT_EQ(f.Part(StylePart::FillInBasic).StartMeasure, 6);
}

TEST(PartSetter, ExtendedChainsToBasicAndFillInExtended) {
    CreatorFixture f;
    f.WriteMaterial(8);
    PartOutcome outcome;
    EXPECT_EQ(f.setter.SetNow(PartRange(StylePart::Extended, 5, 8), outcome), PartSetter::Result::Set);
    EXPECT_EQ(outcome.Chained, (std::vector<int>{data::Index(StylePart::ToBasic), data::Index(StylePart::FillInExtended)}));
    EXPECT_EQ(f.Part(StylePart::ToBasic).StartMeasure, 8);
    EXPECT_FALSE(f.Part(StylePart::ToExtended).Present());
}

TEST(PartSetter, NoToAnyQuestionLeavesEverythingAsItWas) {
    CreatorFixture f;
    f.WriteMaterial(8);
    PartOutcome outcome;
    f.setter.SetNow(PartRange(StylePart::Basic, 1, 4), outcome);
    f.Style().StyleModified = 0;
    const auto before = f.PartBytes();
    const auto notesEnd = f.Style().NotesEndInPart;

    f.Prompter().AnswerNo();
    f.setter.Set(PartRange(StylePart::Basic, 2, 3), true);
    f.Prompter().AnswerNo();
    f.setter.Clear(data::Index(StylePart::Basic));
    f.Prompter().AnswerNo();
    f.setter.Set(PartRange(StylePart::Basic, 1, 0), true);  // end 0 asks to clear

    EXPECT_TRUE(f.Prompter().WasShown("Clear \" Basic \" ?"));
    EXPECT_EQ(f.PartBytes(), before);
    EXPECT_EQ(f.Style().NotesEndInPart, notesEnd);
    EXPECT_EQ(f.Style().StyleModified, 0);

    f.Prompter().AnswerYes();
    f.setter.Clear(data::Index(StylePart::Basic));
    EXPECT_FALSE(f.Part(StylePart::Basic).Present());
    EXPECT_EQ(f.Style().StyleModified, 1);
}

TEST(PartSetter, RangesOutsideTheMaterialAreRefusedWithAMessage) {
    CreatorFixture f;
    f.WriteMaterial(6);
    f.setter.Set(PartRange(StylePart::Basic, 7, 9), true);
    EXPECT_TRUE(f.Prompter().WasShown("Measures 1 - 6 available for stylecreating !"));
    f.setter.Set(PartRange(StylePart::Basic, 4, 2), true);
    EXPECT_TRUE(f.Prompter().WasShown(EndBeforeStartMessage));
    EXPECT_FALSE(f.Part(StylePart::Basic).Present());
    EXPECT_EQ(f.Prompter().PendingAnswers(), 0U);
}

TEST(PartSetter, TheRecordPointsAtItsMeasuresAndItsNotesEndAnalysisSeesHeldNotes) {
    CreatorFixture f;
    f.WriteMaterial(6, /*heldChannel=*/2);
    PartOutcome outcome;
    f.setter.SetNow(PartRange(StylePart::Basic, 2, 3), outcome);
    f.setter.SetNow(PartRange(StylePart::Intro, 1, 1), outcome);
    const data::PartRecord& basic = f.Part(StylePart::Basic);
    const auto material = f.host.Material();
    // The part begins right after the wait that completes measure 1 (the held note comes first).
    ASSERT_GT(basic.RangeStart, 0);
    EXPECT_TRUE(data::stream::IsWait(material[static_cast<std::size_t>(basic.RangeStart) - 1]));
    EXPECT_EQ(material[static_cast<std::size_t>(basic.RangeStart)], 0x92);
    EXPECT_EQ(basic.RangeStart2, basic.RangeStart);
    EXPECT_LT(basic.Beat2Offset, basic.Beat3Offset);
    EXPECT_LT(basic.Beat4Offset, basic.RangeEnd);
    EXPECT_EQ(f.Style().NotesEndInPart[1][2], 0);  // the held note never ends inside Basic
    EXPECT_EQ(f.Style().NotesEndInPart[1][0], 1);
    EXPECT_EQ(f.Style().Header.ChannelUsed[2], 1);
}

}  // namespace
}  // namespace chordella::stylecreator
