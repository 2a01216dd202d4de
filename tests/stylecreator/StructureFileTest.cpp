#include <gtest/gtest.h>

#include "CreatorFixture.h"
#include "stylecreator/StructureApply.h"

namespace chordella::stylecreator {
namespace {

using data::StylePart;

TEST(StructureFile, MutingCharactersMuteOnZeroOnlyAndTwoFourAdjustmentMovesOnlySetRanges) {
    ChannelFlags mutes{};
    mutes.fill(1);
    ApplyMuting("0x1 0", mutes);
    const ChannelFlags expected = {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(mutes, expected);

    ApplyMuting("", mutes);  // empty: the boxes stay as they are
    EXPECT_EQ(mutes, expected);

    ApplyMuting("00000000000000000", mutes);  // longer than 16: the rest is ignored
    for (std::uint8_t muted : mutes) EXPECT_EQ(muted, 1);

    StructureData data;
    data.Ranges[1] = {3, 3};
    data.Ranges[2] = {2, 5};
    data.Ranges[3] = {7, 4};
    AdjustRangesForTwoFour(data);
    EXPECT_EQ(data.Ranges[1], (StructureRange{4, 4}));
    EXPECT_EQ(data.Ranges[2], (StructureRange{3, 5}));
    EXPECT_EQ(data.Ranges[3], (StructureRange{7, 7}));
    EXPECT_EQ(data.Ranges[0], (StructureRange{}));
}

TEST(StructureFile, StylesAAndBReadTheirOwnSectionsAndJunkReadsAsUnset) {
    const std::string text =
        "[Channels]\nMuting=1111111110\n"
        "[Basic_1]\nStart=1\nEnd=4\n[ToExtended_1]\nStart=4x\nEnd=4\n"
        "[Basic_2]\nStart=5\nEnd=abc\n[Intro_2]\nStart=-3\nEnd=100000\n";
    const StructureData a = ParseStructure(text, StructureStyle::A);
    EXPECT_EQ(a.Muting, "1111111110");
    EXPECT_EQ(a.Ranges[1], (StructureRange{1, 4}));
    EXPECT_EQ(a.Ranges[6], (StructureRange{4, 4}));
    EXPECT_EQ(a.Ranges[0], (StructureRange{}));
    const StructureData b = ParseStructure(text, StructureStyle::B);
    EXPECT_EQ(b.Ranges[1], (StructureRange{5, 0}));
    EXPECT_EQ(b.Ranges[0], (StructureRange{}));
    EXPECT_EQ(StructureSection(5, StructureStyle::B), "FillExtended_2");

    StructureData missing;
    std::string error;
    EXPECT_FALSE(LoadStructureFile("/nonexistent/Style.src", StructureStyle::A, missing, error));
    EXPECT_FALSE(error.empty());
}

TEST(StructureFile, ApplyingSetsThePartsTheMutesAndTheIntroLeadIn) {
    testing::CreatorFixture f;
    f.WriteMaterial(10);
    PartOutcome outcome;
    f.setter.SetNow(testing::PartRange(StylePart::ToBasic, 9, 9), outcome);  // left over from earlier work

    const StructureData data = ParseStructure(
        "[Channels]\nMuting=1111111110111111\n[Intro_1]\nStart=1\nEnd=2\n[Basic_1]\nStart=3\nEnd=6\n"
        "[Extended_1]\nStart=7\nEnd=10\n[Ending_1]\nStart=11\nEnd=12\n",
        StructureStyle::A);
    auto& mutes = f.t.state.engine.ChannelMute;
    const StructureOutcome result =
        ApplyStructure(data, f.setter, f.Style(), f.host, mutes, f.Prompter(), /*eighthBase=*/false);

    EXPECT_EQ(result.PartsSet, 3);                 // the Ending lies beyond the material
    EXPECT_TRUE(f.Prompter().WasShown("Measures 1 - 10 available for stylecreating !"));
    EXPECT_EQ(mutes[9], 1);
    EXPECT_EQ(mutes[0], 0);
    EXPECT_EQ(f.Part(StylePart::Basic).PartMute[9], 1);
    EXPECT_EQ(f.Part(StylePart::ToExtended).StartMeasure, 6);     // chained from Basic
    EXPECT_EQ(f.Part(StylePart::ToBasic).StartMeasure, 10);       // chained from Extended, not the old 9
    EXPECT_EQ(result.FirstMeasure, -2);
    EXPECT_EQ(f.Style().Header.IntroMeasures, -2);
}

}  // namespace
}  // namespace chordella::stylecreator
