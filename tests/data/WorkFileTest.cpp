#include <gtest/gtest.h>

#include "data/WorkFile.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

namespace chordella::data {
namespace {

WorkFile SampleWork() {
    WorkFile work;
    work.WorkLengthUnits = 96;
    work.ChordMemoryLength = 12;
    work.ChordMemory = {0, 0, 0, 0, 48, 1, 0, 0, 53, 2, 0, 0, 55, 3, 0, 0};
    work.SetStyleTempo(132);
    work.SetStyleMeter(12);
    work.SetChannelUsed(9, true);
    work.PartTable[66] = 1;  // Basic starts in measure 1
    work.Stream = {0x90, 60, 100, 0xFF, 0xFF, 0x80, 60, 0};
    return work;
}

void ExpectSame(const WorkFile& a, const WorkFile& b) {
    EXPECT_EQ(a.WorkLengthUnits, b.WorkLengthUnits);
    EXPECT_EQ(a.ChordMemoryLength, b.ChordMemoryLength);
    EXPECT_EQ(a.ChordMemory, b.ChordMemory);
    EXPECT_EQ(a.StyleHeader, b.StyleHeader);
    EXPECT_EQ(a.PartTable, b.PartTable);
    EXPECT_EQ(a.Stream, b.Stream);
}

TEST(WorkFiles, AWrittenFileReadsBackTheSameAndTheCreatorsMaterialGoesIntoTheFileAndBack) {
    testing::TempFolder folder;
    const WorkFile work = SampleWork();
    std::string error;
    ASSERT_TRUE(WriteWorkFile(folder.File("a.vxw"), work, error)) << error;
    WorkFile read;
    ASSERT_TRUE(ReadWorkFile(folder.File("a.vxw"), read, error)) << error;
    ExpectSame(read, work);
    EXPECT_EQ(read.StyleTempo(), 132);
    EXPECT_EQ(read.StyleMeter(), 12);
    EXPECT_TRUE(read.ChannelUsed(9));
    EXPECT_FALSE(read.ChannelUsed(8));

    CreatorWork material;
    ASSERT_TRUE(PutWorkMaterial(read, material));
    EXPECT_EQ(material.WorkLength, 8);
    EXPECT_EQ(material.WorkLengthUnits, 96);
    EXPECT_EQ(MaterialTicks(material), 16);
    WorkFile again;
    TakeWorkMaterial(material, again);
    EXPECT_EQ(again.Stream, work.Stream);
    EXPECT_EQ(again.WorkLengthUnits, 96);
}

TEST(WorkFiles, TheLayoutPutsEachBlockAtItsOffset) {
    const auto bytes = SerializeWorkFile(SampleWork());
    const std::size_t chordLength = 12;
    ASSERT_EQ(bytes.size(), 2129 + chordLength + 8);
    const std::pair<std::size_t, int> offsets[] = {
        {0, 96}, {2, 12},
        {8, 48},                             // the first beat record after 4 bytes
        {8 + chordLength, 255},              // channel 1's set-up
        {8 + chordLength + 1568 + 9, 1},     // ChannelUsed of channel 10
        {8 + chordLength + 1584, 132},       // StyleTempo
        {1601 + chordLength + 66, 1},        // Basic's start measure
        {2129 + chordLength, 0x90},          // the stream
    };
    for (const auto& [offset, value] : offsets) EXPECT_EQ(bytes[offset], value) << "offset " << offset;
}

TEST(WorkFiles, AFullStreamOfOneChunkRoundTripsAndMoreIsCut) {
    WorkFile work = SampleWork();
    work.Stream.assign(WorkChunkCapacity, 0xF8);
    WorkFile read;
    std::string error;
    ASSERT_TRUE(ParseWorkFile(SerializeWorkFile(work), read, error)) << error;
    ExpectSame(read, work);
    auto bytes = SerializeWorkFile(work);
    bytes.push_back(0x90);
    ASSERT_TRUE(ParseWorkFile(bytes, read, error));
    EXPECT_EQ(read.Stream.size(), static_cast<std::size_t>(WorkChunkCapacity));
}

TEST(WorkFiles, ShortOrImpossibleFilesAreRefusedAndLeaveTheTargetAlone) {
    const auto good = SerializeWorkFile(SampleWork());
    WorkFile target;
    target.WorkLengthUnits = 7;
    std::string error;
    for (std::size_t size : {std::size_t{0}, std::size_t{3}, std::size_t{20}, good.size() - 8 - 529}) {
        EXPECT_FALSE(ParseWorkFile(std::span(good).first(size), target, error)) << size;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(target.WorkLengthUnits, 7);
    }
    auto huge = good;
    huge[2] = 0xFF;
    huge[3] = 0xFF;  // a chord memory longer than its buffer
    EXPECT_FALSE(ParseWorkFile(huge, target, error));
    EXPECT_NE(error.find("chord memory length 65535"), std::string::npos) << error;
}

}  // namespace
}  // namespace chordella::data
