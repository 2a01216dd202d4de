#include "platform/Bytes.h"

#include <gtest/gtest.h>

namespace chordella::platform {
namespace {

TEST(Bytes, WhatIsWrittenLittleEndianReadsBack) {
    std::vector<std::uint8_t> data;
    ByteWriter writer(data);
    writer.U8(0xAB);
    writer.I16(-32768);
    writer.U32(0x12345678);
    writer.U32BigEndian(0x4D546864);  // "MThd"
    EXPECT_EQ(data, (std::vector<std::uint8_t>{0xAB, 0x00, 0x80, 0x78, 0x56, 0x34, 0x12, 'M', 'T', 'h', 'd'}));

    ByteReader reader(data);
    std::uint8_t u8 = 0;
    std::int16_t i16 = 0;
    std::uint32_t u32 = 0, tag = 0;
    EXPECT_TRUE(reader.U8(u8, "first") && reader.I16(i16, "meter") && reader.U32(u32, "length") &&
                reader.U32BigEndian(tag, "tag"));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(i16, -32768);
    EXPECT_EQ(u32, 0x12345678u);
    EXPECT_EQ(tag, 0x4D546864u);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(Bytes, AReadOrSeekPastTheEndFailsSayingWhatWhereAndHowMuchAndRestTakesAtMostTheCap) {
    const std::vector<std::uint8_t> data{1, 2, 3};
    ByteReader reader(data);
    std::uint16_t first = 0, second = 0;
    std::uint8_t last = 0;
    EXPECT_TRUE(reader.U16(first, "count"));
    EXPECT_FALSE(reader.U16(second, "style meter"));
    EXPECT_EQ(reader.Error(), "expected 2 bytes (style meter) at offset 2, found 1");
    EXPECT_FALSE(reader.U8(last, "anything"));  // the first failure sticks
    EXPECT_EQ(reader.Error(), "expected 2 bytes (style meter) at offset 2, found 1");

    // Rest takes at most the cap, and Seek stays inside.
    const std::vector<std::uint8_t> ten(10, 7);
    ByteReader rest(ten);
    EXPECT_EQ(rest.Rest(4).size(), 4u);
    EXPECT_EQ(rest.Offset(), 4u);
    EXPECT_EQ(rest.Rest(100).size(), 6u);
    EXPECT_TRUE(rest.Seek(10, "end"));
    EXPECT_FALSE(rest.Seek(11, "past the end"));
    EXPECT_TRUE(rest.Failed());
}

}  // namespace
}  // namespace chordella::platform
