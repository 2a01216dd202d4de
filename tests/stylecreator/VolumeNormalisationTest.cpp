// Normalising, restoring and the style-wide offsets on a style in memory.
#include <gtest/gtest.h>

#include "stylecreator/RulesFixture.h"
#include "stylecreator/VolumeNormalisation.h"

namespace chordella::testing {
namespace {

using namespace stylecreator;

TEST(VolumeCurve, PointsBetweenPointsAndBothEnds) {
    EXPECT_EQ(VolumeCurve(19), 28);
    EXPECT_EQ(VolumeCurve(20), 28);
    EXPECT_EQ(VolumeCurve(58), 66);
    EXPECT_EQ(VolumeCurve(60), 68);    // 66 + (60 − 58)
    EXPECT_EQ(VolumeCurve(99), 92);    // 88 + (99 − 95)
    EXPECT_EQ(VolumeCurve(100), 90);
    EXPECT_EQ(VolumeCurve(101), 90);
}

struct Normalising : ::testing::Test {
    Normalising() {
        s.Channel(0, "Piano", 100);
        s.Channel(1, "String Ensemble", 80);
        s.Channel(2, "Fingered Bass", 60);
        s.Channel(9, "Standard Kit", 90);
        s.style.StyleDisplayName = "Pop";
    }
    std::array<int, 4> Volumes() const { return {s.Volume(0), s.Volume(1), s.Volume(2), s.Volume(9)}; }
    RulesStyle s;
    RecordingRulesLink link;
    NormalisationState state;
};

TEST_F(Normalising, CurveRolesAverageAndSpreadGiveTheVolumes) {
    const NormaliseResult result = NormaliseVolumes(s.style, s.names, state, {.Target = 90}, link);
    // Reference 100 → offset −10; curve 85 / 76−10 (strings) / 57+7 (quiet bass) / 92 (drums);
    // the average of 85, 66, 64 is raised to 79 by +7; the loud piano is pulled to 75.
    EXPECT_EQ(result.Offset, -10);
    EXPECT_EQ(result.StyleVolumeOffset, 7);
    EXPECT_EQ(result.BassChannel, 2);
    EXPECT_EQ(Volumes(), (std::array<int, 4>{75, 73, 71, 99}));
    EXPECT_EQ(link.status.back(), "Pop - Vol: +7");
    EXPECT_EQ(VolumeOffsetText(state), "Style Volume Offset : 7");
    EXPECT_EQ(s.style.StyleModified, 0);
    EXPECT_EQ(s.style.Header.ChannelSetup[5][11], 127);   // expression of every channel
}

TEST_F(Normalising, TwiceInARowStartsFromTheFirstSavedVolumesAndRestoreBringsThemBack) {
    NormaliseVolumes(s.style, s.names, state, {.Target = 90}, link);
    const auto once = Volumes();
    NormaliseVolumes(s.style, s.names, state, {.Target = 90}, link);
    EXPECT_EQ(Volumes(), once);
    EXPECT_EQ(state.SavedVolumes[0], 100);

    EXPECT_TRUE(RestoreVolumes(s.style, state, false, link));
    EXPECT_EQ(Volumes(), (std::array<int, 4>{100, 80, 60, 90}));
    EXPECT_EQ(link.mixerVolume[1], 80);
    EXPECT_FALSE(RestoreVolumes(s.style, state, false, link));
}

TEST_F(Normalising, SoloOnChannel1LeavesChannelOneAlone) {
    NormaliseVolumes(s.style, s.names, state, {.Target = 90, .SoloOnChannel1 = true}, link);
    // Reference from 80 (channel 1 skipped): offset +10.
    EXPECT_EQ(state.ReferenceLevel, 80);
    // Channel 1 is not set from the curve; only the style offset (−1) and the spread reach it.
    EXPECT_EQ(s.Volume(0), 75);
    EXPECT_EQ(s.Volume(1), 74);
    for (const auto& sent : link.sent) EXPECT_FALSE(sent.Channel == 0 && sent.Controller == 7 && sent.Value == 0);
}

TEST(StyleOffsets, VolumeOnlySetValuesReverbUnsetCountsSixtyFourAndTheSpecialValues) {
    RulesStyle s;
    s.Channel(0, "Piano", 126);
    s.Channel(1, "Organ", 255);
    s.Channel(9, "Kit", 100);
    RecordingRulesLink link;
    NormalisationState state;
    AddStyleOffset(s.style, state, OffsetKind::Volume, 3, {}, link);
    EXPECT_EQ(s.Volume(0), 127);
    EXPECT_EQ(s.Volume(1), 255);
    AddStyleOffset(s.style, state, OffsetKind::Reverb, -4, {}, link);
    EXPECT_EQ(s.style.Header.ChannelSetup[1][91], 60);
    EXPECT_EQ(ReverbOffsetText(state), "Style Reverb Offset : -4");
    AddStyleOffset(s.style, state, OffsetKind::Reverb, ReverbToDefined, {.Channel10 = 20, .Others = 40}, link);
    EXPECT_EQ(s.style.Header.ChannelSetup[9][91], 20);
    EXPECT_EQ(link.mixerReverb[0], 40);
    AddStyleOffset(s.style, state, OffsetKind::Reverb, ReverbToZero, {}, link);
    EXPECT_EQ(s.style.Header.ChannelSetup[0][91], 0);
    EXPECT_EQ(state.ReverbOffset, -4);
    EXPECT_EQ(state.VolumeOffset, 3);
}

}  // namespace
}  // namespace chordella::testing
