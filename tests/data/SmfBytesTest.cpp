#include <gtest/gtest.h>

#include "data/SmfBytes.h"
#include "support/SmfBuilder.h"

namespace chordella::data::smf {
namespace {

std::vector<std::uint8_t> Written(std::uint32_t value) {
    std::vector<std::uint8_t> out;
    platform::ByteWriter writer(out);
    WriteVariableLength(writer, value);
    return out;
}

TEST(VariableLengthQuantities, ReadBackWhatIsWrittenAtEveryGroupBoundaryAndAFifthOrAMissingByteIsRefusedWithoutMoving) {
    for (std::uint32_t value : {0u, 0x7Fu, 0x80u, 0x3FFFu, 0x4000u, 0x1FFFFFu, 0x200000u, 0x0FFFFFFFu}) {
        const auto bytes = Written(value);
        EXPECT_EQ(bytes.size(), static_cast<std::size_t>(VariableLengthSize(value))) << value;
        testing::Bytes independent;
        testing::PutVariableLength(independent, value);
        EXPECT_EQ(bytes, independent) << value;
        std::size_t pos = 0;
        std::uint32_t read = 1;
        ASSERT_EQ(ReadVariableLength(bytes, pos, read), VariableLength::Ok);
        EXPECT_EQ(read, value);
        EXPECT_EQ(pos, bytes.size());
    }
    EXPECT_EQ(Written(0xFFFFFFFFu), Written(MaxVariableLength)) << "values beyond the format are written as the largest";

    const std::vector<std::uint8_t> fiveBytes = {0x81, 0x80, 0x80, 0x80, 0x00};
    std::size_t pos = 0;
    std::uint32_t value = 7;
    EXPECT_EQ(ReadVariableLength(fiveBytes, pos, value), VariableLength::TooLong);
    EXPECT_EQ(pos, 0u);
    EXPECT_EQ(value, 7u);
    const std::vector<std::uint8_t> cut = {0x81, 0x80};
    EXPECT_EQ(ReadVariableLength(cut, pos, value), VariableLength::Truncated);
    EXPECT_EQ(pos, 0u);
}

TEST(Chunks, AChunkGetsTheLengthOfItsBody) {
    std::vector<std::uint8_t> out;
    platform::ByteWriter writer(out);
    WriteHeaderChunk(writer, 1, 2, 96);
    const std::size_t start = BeginChunk(out, "MTrk");
    out.insert(out.end(), {0x00, 0xFF, 0x2F, 0x00});
    EndChunk(out, start);
    EXPECT_TRUE(ChunkIdIs(out, 0, "MThd"));
    EXPECT_EQ(BigEndian16(out, 12), 96);
    EXPECT_TRUE(ChunkIdIs(out, 14, "MTrk"));
    EXPECT_EQ(BigEndian32(out, 18), 4u);
    EXPECT_EQ(BigEndian32(out, 24), 0u);  // a read past the end answers 0, never reads outside
}

}  // namespace
}  // namespace chordella::data::smf
