// The .vxs reader and writer: what is written reads back the same, and damaged files are refused.

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <ostream>

#include "data/StyleFile.h"
#include "data/StyleStream.h"
#include "platform/Bytes.h"
#include "support/Fixtures.h"
#include "support/StyleBuilder.h"

namespace chordella::data {
namespace {

using testing::StyleBuilder;

StyleBuilder PopStyle() {
    StyleBuilder b;
    b.Meter(4).Tempo(112).IntroMeasures(2).Program(0, 33).Volume(0, 100).Program(9, 0).Controller(1, 91, 40);
    b.Part(StylePart::Intro).Measures(2).Note(9, 36, 100, 0, 12).Note(0, 36, 90, b.Beat(3), 24);
    b.Part(StylePart::Basic).Measures(2).Note(9, 42, 80, 0, 6).Note(1, 64, 70, b.Position(2, 1), 48).Mute(3);
    b.Part(StylePart::Ending).Measures(1).Note(0, 36, 90, 0, 96).CutNotes(0);
    return b;
}

TEST(StyleFile, ReadsEveryFieldOfHeaderAndPartTable) {
    auto builder = PopStyle();
    builder.Converted().SuppressControllers().ClearSuppressOnLoad().EighthMeter(6);
    builder.Part(StylePart::Basic).FollowUp(followup::ContinueExtended);
    StyleImage image;
    std::string error;
    ASSERT_TRUE(ReadStyleFile(builder.Bytes(), image, error)) << error;
    EXPECT_EQ(image.Header.StyleTempo, 112);
    EXPECT_EQ(image.Header.IntroMeasures, 2);
    EXPECT_EQ(image.Header.StyleMeter, -12);
    EXPECT_EQ(image.Header.ConvertedFlag, 1);
    EXPECT_EQ(image.Header.SuppressControllers, 1);
    EXPECT_EQ(image.Header.ClearSuppressOnLoad, 1);
    EXPECT_EQ(image.Header.ChannelSetup[0][SetupProgramIndex], 33);
    EXPECT_EQ(image.Header.ChannelSetup[0][7], 100);
    EXPECT_EQ(image.Header.ChannelSetup[1][91], 40);
    EXPECT_EQ(image.Header.ChannelSetup[2][7], SetupNotSet);

    const auto fields = [](const PartRecord& r) {
        return std::tie(r.StartMeasure, r.EndMeasure, r.RangeStart, r.RangeEnd, r.Beat3Offset, r.FollowUpCode, r.PartMute,
                        r.CutNotes);
    };
    const auto expected = builder.Parts();
    for (std::size_t p = 0; p < std::size_t{PartCount}; ++p)
        EXPECT_EQ(fields(image.Parts[p]), fields(expected[p])) << "part " << p;
    EXPECT_EQ(image.Parts[Index(StylePart::Basic)].FollowUpCode, followup::ContinueExtended);
    EXPECT_EQ(image.Parts[Index(StylePart::Basic)].PartMute[3], 1);
    EXPECT_FALSE(image.Parts[Index(StylePart::Extended)].Present());
}

TEST(StyleFile, FilesWithAndWithoutTheTagReadAndWriteAgainTheSameAndOnlyATagValueOrMoreIsATag) {
    StyleImage tagged;
    StyleImage untagged;
    std::string error;
    auto builder = PopStyle();
    const auto withTag = builder.Bytes();
    const auto withoutTag = builder.WithoutTag().Bytes();
    EXPECT_EQ(withTag.size(), withoutTag.size() + 4);
    ASSERT_TRUE(ReadStyleFile(withTag, tagged, error)) << error;
    ASSERT_TRUE(ReadStyleFile(withoutTag, untagged, error)) << error;
    EXPECT_EQ(tagged.StyleFileTag, StyleFileTagWritten);
    EXPECT_EQ(untagged.StyleFileTag, 0);
    EXPECT_EQ(StyleFileBytes(tagged.Header, tagged.Parts, tagged.Stream), withTag) << "written again byte for byte";
    EXPECT_EQ(StyleFileBytes(untagged.Header, untagged.Parts, untagged.Stream), withTag);
    EXPECT_EQ(untagged.Header.ChannelSetup[0][SetupProgramIndex], 33) << "255 255 255 255 read as -1: no tag";

    StyleImage image;
    // Controller 3 = 2, controller 2 = 0x73 … just below the tag value: still no tag.
    auto below = PopStyle().WithoutTag();
    below.Controller(0, 0, 0x29).Controller(0, 1, 0x6F).Controller(0, 2, 0x73).Controller(0, 3, 2);
    ASSERT_TRUE(ReadStyleFile(below.Bytes(), image, error)) << error;
    EXPECT_EQ(image.StyleFileTag, 0);
    EXPECT_EQ(image.Header.ChannelSetup[0][2], 0x73);
    ASSERT_TRUE(ReadStyleFile(PopStyle().Tag(0x7FFFFFFF).Bytes(), image, error)) << error;
    EXPECT_EQ(image.StyleFileTag, 0x7FFFFFFF);
    EXPECT_EQ(image.Header.StyleTempo, 112);
}

TEST(StyleFile, TheWriterAlwaysWritesTheTagSoChannelOneControllerThreeCannotBeMistakenForIt) {
    auto builder = PopStyle().WithoutTag();
    builder.Controller(0, 3, 100);  // as a tagless file this reads as a tag
    StyleImage misread;
    std::string error;
    const bool readAtAll = ReadStyleFile(builder.Bytes(), misread, error);
    EXPECT_TRUE(!readAtAll || misread.Header.ChannelSetup[0][3] != 100);

    const auto header = builder.Header();
    const auto parts = builder.Parts();
    const auto stream = builder.Stream();
    StyleImage image;
    ASSERT_TRUE(ReadStyleFile(StyleFileBytes(header, parts, stream), image, error)) << error;
    EXPECT_EQ(image.Header.ChannelSetup[0][3], 100);
}

struct Damage {
    const char* name;
    std::function<void(StyleBuilder&)> apply;
    const char* says;
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

class DamagedStyle : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedStyle, IsRefusedWithAReasonThatSaysWhatAndWhere) {
    auto builder = PopStyle();
    GetParam().apply(builder);
    StyleImage image;
    image.Header.StyleTempo = 77;
    std::string error;
    EXPECT_FALSE(ReadStyleFile(builder.Bytes(), image, error));
    EXPECT_NE(error.find(GetParam().says), std::string::npos) << error;
    EXPECT_EQ(image.Header.StyleTempo, 77);  // the caller's image is untouched
}

PartRecord& Basic(PartTable& parts) { return parts[Index(StylePart::Basic)]; }

INSTANTIATE_TEST_SUITE_P(
    StyleFile, DamagedStyle,
    ::testing::Values(
        Damage{"RangeEndBeyondTheStream", [](StyleBuilder& b) { b.AdjustParts([](PartTable& p) { Basic(p).RangeEnd = 5000; }); },
               "RangeEnd 5000 lies outside the stream"},
        Damage{"NegativeRangeStart", [](StyleBuilder& b) { b.AdjustParts([](PartTable& p) { Basic(p).RangeStart = -3; }); },
               "RangeStart -3 lies outside the stream"},
        Damage{"RangesThatCross",
               [](StyleBuilder& b) { b.AdjustParts([](PartTable& p) { std::swap(Basic(p).RangeStart, Basic(p).RangeEnd); }); },
               "lies after RangeEnd"},
        Damage{"RangeStartInsideAMessage", [](StyleBuilder& b) { b.AdjustParts([](PartTable& p) { Basic(p).RangeStart += 1; }); },
               "points into the middle of a message"},
        Damage{"BeatOffsetBeyondTheStream", [](StyleBuilder& b) { b.AdjustParts([](PartTable& p) { Basic(p).Beat3Offset = 1 << 30; }); },
               "Beat3Offset"},
        Damage{"UnknownFollowUpCode", [](StyleBuilder& b) { b.Part(StylePart::Basic).FollowUp(99); }, "follow-up code 99"},
        Damage{"DataByteOfAMessageWithTheHighBitSet", [](StyleBuilder& b) { b.Part(StylePart::Basic).Event(0x90, 60, 0x85, 3); },
               "byte 0x85"},
        Damage{"SystemStatusInTheStream", [](StyleBuilder& b) { b.Part(StylePart::Basic).Raw({0xF3}, 5); },
               "status byte 0xF3"},
        Damage{"StrayDataByte", [](StyleBuilder& b) { b.Part(StylePart::Basic).Raw({0x40}, 5); }, "data byte 0x40"},
        Damage{"MessageCutByTheEndOfTheStream", [](StyleBuilder& b) { b.StreamEnd({0x90, 60}); }, "cut off by the end"},
        Damage{"MeterOfMinus32768", [](StyleBuilder& b) { b.RawMeter(-32768); }, "style meter -32768"},
        Damage{"SetUpValueThatIsAStatusByte", [](StyleBuilder& b) { b.Setup(4, 10, 0x90); }, "channel 5 set-up byte 10"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StyleFile, TruncatedFilesAreRefusedWhereverTheyEnd) {
    const auto file = PopStyle().Bytes();
    for (std::size_t size : {std::size_t{0}, std::size_t{3}, std::size_t{4}, std::size_t{100}, std::size_t{4 + 1592},
                             std::size_t{4 + 1593}, std::size_t{4 + 2120}}) {
        const std::vector<std::uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        StyleImage image;
        std::string error;
        EXPECT_FALSE(ReadStyleFile(cut, image, error)) << size;
        EXPECT_NE(error.find("the file ends inside the"), std::string::npos) << error;
    }
}

TEST(StyleFile, AStreamCutInsideAPartIsRefusedButOneCutAfterTheLastPartAndAbsentPartsWithAnyOffsetsRead) {
    const auto file = PopStyle().Bytes();
    StyleImage image;
    std::string error;
    // Without the final 0x00 every part still lies inside the stream.
    const std::vector<std::uint8_t> noEnd(file.begin(), file.end() - 1);
    EXPECT_TRUE(ReadStyleFile(noEnd, image, error)) << error;
    // Ten bytes less and the Ending's range reaches beyond the stream.
    const std::vector<std::uint8_t> cut(file.begin(), file.end() - 10);
    EXPECT_FALSE(ReadStyleFile(cut, image, error));

    // Absent parts may hold any offsets.
    auto builder = PopStyle();
    builder.AdjustParts([](PartTable& p) {
        auto& extended = p[Index(StylePart::Extended)];
        extended.StartMeasure = 0;
        extended.RangeStart = 999999;
        extended.RangeEnd = -5;
        extended.FollowUpCode = 77;
    });
    EXPECT_TRUE(ReadStyleFile(builder.Bytes(), image, error)) << error;
}

std::vector<std::uint8_t> Fixture(const std::string& name) { return testing::FixtureBytes("styles/" + name); }

std::int32_t Dword(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    platform::ByteReader r(bytes);
    std::int32_t value = 0;
    EXPECT_TRUE(r.Seek(offset, "test") && r.I32(value, "test"));
    return value;
}

// A file kept from an earlier build pins the layout: the reader and writer cannot drift together.
TEST(StyleFile, AKeptStyleFileStillReadsAndWritesTheSameAndKeptDamagedOnesAreRefused) {
    const auto file = Fixture("pop.vxs");
    ASSERT_EQ(file.size(), 2223u);
    EXPECT_EQ(Dword(file, 0), StyleFileTagWritten);
    EXPECT_EQ(file[4 + 1584], 112);                      // StyleTempo
    EXPECT_EQ(file[4 + 0 * 98 + 96], 33);                // channel 1's program
    const std::size_t basic = 4 + 1593 + 66 * 1;
    EXPECT_EQ(file[basic], 2);                           // StartMeasure
    EXPECT_EQ(Dword(file, basic + 8), Dword(file, basic + 12));  // RangeStart2 = RangeStart

    StyleImage image;
    std::string error;
    ASSERT_TRUE(ReadStyleFile(file, image, error)) << error;
    EXPECT_EQ(image.Parts[Index(StylePart::Basic)].RangeStart, Dword(file, basic + 12));
    EXPECT_EQ(image.Parts[Index(StylePart::FillInBasic)].FollowUpCode, followup::Variation);
    EXPECT_EQ(StyleFileBytes(image.Header, image.Parts, image.Stream), file);

    // Kept damaged files are refused.
    for (const char* name : {"status-f5-in-stream.vxs", "crossed-ranges.vxs", "truncated-in-part-table.vxs"}) {
        error.clear();
        EXPECT_FALSE(ReadStyleFile(Fixture(name), image, error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
}

}  // namespace
}  // namespace chordella::data
