// The channel rules block at the end of a .vxs file: the rules read back as written, a reader
// that takes the whole rest of the file as the stream still reads the parts unchanged, and a
// damaged block leaves a plain style with a reason.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "data/NativeRulesBlock.h"
#include "data/StyleFile.h"
#include "support/StyleBuilder.h"

namespace chordella::data {
namespace {

using testing::StyleBuilder;

StyleBuilder SmallStyle() {
    StyleBuilder b;
    b.Meter(4).Tempo(100).Program(11, 0);
    b.Part(StylePart::Basic).Measures(1).Note(9, 36, 100, 0, 12).Note(11, 64, 90, 0, 90).Note(11, 71, 90, 0, 90);
    b.Part(StylePart::Extended).Measures(1).Note(10, 36, 100, 0, 20);
    return b;
}

NativeRules SomeRules() {
    NativeRules rules;
    rules.Present = true;
    NativeChannelRules& piano = rules.Parts[1][11];
    piano.Active = true;
    piano.SourceKind = 2;
    piano.Ranges[1] = {NoteRule::RootFixed, NoteTable::Chord, 11, 0, 127, RetriggerRule::PitchShift};
    piano.Ranges[0] = piano.Ranges[2] = piano.Ranges[1];
    NativeChannelRules& bass = rules.Parts[2][10];
    bass.Active = true;
    bass.SourceRoot = 9;
    bass.SourceKind = 35;
    bass.MiddleLow = 40;
    bass.MiddleHigh = 80;
    bass.Ranges = {NoteRangeRules{NoteRule::Guitar, NoteTable::Dorian5th, 7, 28, 60, RetriggerRule::NoteGenerator},
                   NoteRangeRules{NoteRule::RootTransposition, NoteTable::Bass, 0, 0, 127, RetriggerRule::Stop},
                   NoteRangeRules{NoteRule::RootFixed, NoteTable::Bypass, 5, 90, 127, RetriggerRule::RetriggerToRoot}};
    return rules;
}

std::vector<std::uint8_t> FileWithRules(const StyleBuilder& b, const NativeRules& rules) {
    const std::vector<std::uint8_t> plain = b.Bytes();
    StyleImage image;
    std::string error;
    EXPECT_TRUE(ReadStyleFile(plain, image, error)) << error;
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(StyleFileBytes(image.Header, image.Parts, image.Stream, rules, bytes, error)) << error;
    return bytes;
}

TEST(NativeRulesBlock, TheRulesReadBackAsWrittenTheStreamEndsWhereItDidBeforeAndAWholeRestReaderSeesTheSameParts) {
    const StyleBuilder style = SmallStyle();
    const std::vector<std::uint8_t> bytes = FileWithRules(style, SomeRules());
    StyleImage image;
    std::string error;
    ASSERT_TRUE(ReadStyleFile(bytes, image, error)) << error;
    EXPECT_TRUE(image.NativeProblem.empty()) << image.NativeProblem;
    ASSERT_TRUE(image.Native.Present);
    EXPECT_EQ(RulesBlockBytes(image.Native), RulesBlockBytes(SomeRules()));
    const NativeChannelRules& bass = image.Native.Parts[2][10];
    EXPECT_EQ(bass.SourceRoot, 9);
    EXPECT_EQ(bass.MiddleHigh, 80);
    EXPECT_EQ(bass.Ranges[0].Table, NoteTable::Dorian5th);
    EXPECT_EQ(bass.Ranges[2].Retrigger, RetriggerRule::RetriggerToRoot);
    EXPECT_FALSE(image.Native.Parts[1][10].Active);

    // The image's stream points into the bytes it was read from: they must outlive it.
    const std::vector<std::uint8_t> plainBytes = style.Bytes();
    StyleImage plain;
    ASSERT_TRUE(ReadStyleFile(plainBytes, plain, error)) << error;
    EXPECT_FALSE(plain.Native.Present) << "a file without the block has no rules";
    EXPECT_TRUE(std::equal(image.Stream.begin(), image.Stream.end(), plain.Stream.begin(), plain.Stream.end()));
    EXPECT_EQ(StyleFileBytes(image.Header, image.Parts, image.Stream), style.Bytes());

    // A reader that takes the layout alone (tag, header, part table, then everything else as
    // the stream) still reads the parts unchanged.
    const std::size_t streamStart = StyleFileTagSize + StyleHeaderSize + PartTableSize;
    const std::span<const std::uint8_t> whole = std::span(bytes).subspan(streamStart);
    EXPECT_TRUE(CheckStyleStream(image.Parts, whole, error)) << "the block breaks the stream's grammar: " << error;
    ASSERT_GT(whole.size(), image.Stream.size());
    EXPECT_TRUE(std::equal(image.Stream.begin(), image.Stream.end(), whole.begin()));
    for (const PartRecord& part : image.Parts)
        if (part.Present()) {
            EXPECT_LE(part.RangeEnd, static_cast<std::int32_t>(image.Stream.size()));
        }
}

TEST(NativeRulesBlock, ADamagedBlockLeavesAPlainStyleAndSaysWhy) {
    const std::vector<std::uint8_t> good = FileWithRules(SmallStyle(), SomeRules());
    const std::size_t trailer = good.size() - RulesTrailerBytes;
    const std::size_t firstEntry = trailer - 2 * 12 * 3;   // two entries of 12 messages before the trailer
    struct Case {
        const char* What;
        std::function<void(std::vector<std::uint8_t>&)> Damage;
        const char* Reason;
    } cases[] = {
        {"a byte changed", [&](auto& b) { b[firstEntry + 4] ^= 0x01; }, "checksum"},
        {"a newer layout", [&](auto& b) { b[trailer + 2] = 2; }, "layout 2"},
        {"a table out of range, checksum mended",
         [&](auto& b) {
             // Entry 0's first range: NTT is payload byte 7, in message 3 (bytes a, b) as b.
             b[firstEntry + 3 * 3 + 2] += 40;
             const int sum = ((b[trailer + 7] << 7) | b[trailer + 8]) + 40;
             b[trailer + 7] = static_cast<std::uint8_t>(sum >> 7);
             b[trailer + 8] = static_cast<std::uint8_t>(sum & 0x7F);
         },
         "table 42"},
        {"the same channel twice",
         [&](auto& b) {
             // Entry 1 names part 2 channel 11 (10): make it entry 0's part 1 channel 12 (11); the sum stays.
             b[firstEntry + 12 * 3 + 1] = 1;
             b[firstEntry + 12 * 3 + 2] = 11;
         },
         "two entries"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = good;
        c.Damage(bytes);
        StyleImage image;
        std::string error;
        ASSERT_TRUE(ReadStyleFile(bytes, image, error)) << c.What << ": " << error;
        EXPECT_FALSE(image.Native.Present) << c.What;
        EXPECT_FALSE(image.NativeProblem.empty()) << c.What;
        EXPECT_NE(image.NativeProblem.find(c.Reason), std::string::npos) << c.What << ": " << image.NativeProblem;
        const std::vector<std::uint8_t> plainBytes = SmallStyle().Bytes();
        StyleImage plain;
        ASSERT_TRUE(ReadStyleFile(plainBytes, plain, error));
        EXPECT_EQ(image.Stream.size(), plain.Stream.size()) << c.What << ": the block is off the stream all the same";
    }
}

TEST(NativeRulesBlock, BytesThatOnlyLookLikeABlockStayStream) {
    const std::vector<std::uint8_t> good = FileWithRules(SmallStyle(), SomeRules());
    std::string error;
    // A part that reaches into the block: the bytes are that part's, not rules.
    StyleImage image;
    ASSERT_TRUE(ReadStyleFile(good, image, error));
    PartTable parts = image.Parts;
    parts[1].RangeEnd = static_cast<std::int32_t>(image.Stream.size()) + 1;   // the block's first message
    const std::size_t streamStart = StyleFileTagSize + StyleHeaderSize + PartTableSize;
    const std::vector<std::uint8_t> stream(good.begin() + static_cast<std::ptrdiff_t>(streamStart), good.end());
    StyleImage reread;
    ASSERT_TRUE(ReadStyleFile(StyleFileBytes(image.Header, parts, stream), reread, error)) << error;
    EXPECT_FALSE(reread.Native.Present);
    EXPECT_TRUE(reread.NativeProblem.empty());
    EXPECT_EQ(reread.Stream.size(), stream.size());

    // One byte after the trailer: the block no longer ends the stream.
    std::vector<std::uint8_t> trailing = good;
    trailing.push_back(0x00);
    ASSERT_TRUE(ReadStyleFile(trailing, reread, error)) << error;
    EXPECT_FALSE(reread.Native.Present);
    EXPECT_EQ(reread.Stream.size(), good.size() - streamStart + 1);
}

TEST(NativeRulesBlock, RulesThatWouldNotFitBesideTheStreamAreRefusedWhenWriting) {
    const std::vector<std::uint8_t> plainBytes = SmallStyle().Bytes();
    StyleImage image;
    std::string error;
    ASSERT_TRUE(ReadStyleFile(plainBytes, image, error));
    std::vector<std::uint8_t> stream(image.Stream.begin(), image.Stream.end());
    stream.resize(static_cast<std::size_t>(StreamCapacity) - 50, 0xF8);   // waits up to nearly the whole buffer
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(StyleFileBytes(image.Header, image.Parts, stream, SomeRules(), bytes, error));
    EXPECT_NE(error.find("165500"), std::string::npos) << error;
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(StyleFileBytes(image.Header, image.Parts, stream, NativeRules{}, bytes, error)) << "no rules, no block";
}

}  // namespace
}  // namespace chordella::data
