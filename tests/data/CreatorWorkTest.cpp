// The style creator's work: its material written into chained chunks, the positions in it,
// and the work file that holds it.
#include <gtest/gtest.h>

#include <vector>

#include "data/CreatorWork.h"
#include "data/CreatorWorkWriter.h"
#include "data/WorkFile.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

namespace chordella::data {
namespace {

std::vector<std::uint8_t> Material(const CreatorWork& work, int chunk) {
    const WorkChunk& slot = work.Chunks[chunk];
    return std::vector<std::uint8_t>(slot.Buffer.get(), slot.Buffer.get() + slot.Size);
}

TEST(CreatorWorkWriting, ManyWaitsAtOnceWriteWhatOneTickAtATimeWrites) {
    for (std::int64_t ticks : {1, 7, 8, 9, 17, 1000}) {
        CreatorWork one, many;
        ASSERT_TRUE(EnsureWorkChunks(one, 1) && EnsureWorkChunks(many, 1));
        CreatorWorkWriter a(&one, {}), b(&many, {});
        a.Message(0x90, 60, 1);
        b.Message(0x90, 60, 1);
        a.Wait(true);  // a partial wait first, which the batch must fill up
        b.Wait(true);
        for (std::int64_t tick = 0; tick < ticks; ++tick) a.Wait(true);
        EXPECT_EQ(b.Waits(ticks), ticks);
        a.Finish();
        b.Finish();
        EXPECT_EQ(Material(one, 0), Material(many, 0)) << ticks;
        EXPECT_EQ(MaterialTicks(many), ticks + 1);
    }
}

TEST(CreatorWorkWriting, AFullChunkIsClosedWithF0AndMessagesAreNeverSplit) {
    CreatorWork work;
    ASSERT_TRUE(EnsureWorkChunks(work, 2));
    CreatorWorkWriter writer(&work, {});
    // Fill chunk 0 with messages until the next one would not fit before the last byte.
    int messages = 0;
    while (writer.Position().Chunk == 0) {
        ASSERT_TRUE(writer.Message(0x90, 60, 1));
        ++messages;
    }
    writer.Finish();
    const WorkChunk& first = work.Chunks[0];
    EXPECT_LE(first.Size, WorkChunkCapacity);
    EXPECT_EQ(first.Buffer[first.Size - 1], 0xF0);
    EXPECT_EQ((first.Size - 1) % 3, 0);
    EXPECT_TRUE(work.Chunks[1].Present);
    EXPECT_EQ(Material(work, 1), (std::vector<std::uint8_t>{0x90, 60, 1}));
    EXPECT_EQ(EndOfMaterial(work), (WorkPosition{1, 3}));
    // Without a third chunk the writer stops and says so.
    CreatorWorkWriter more(&work, {1, WorkChunkCapacity - 3});
    EXPECT_FALSE(more.Message(0x90, 61, 1));
    EXPECT_TRUE(more.Full());
}

TEST(CreatorWorkWriting, TheCountingWriterReachesTheSameChunksAsTheRealOne) {
    CreatorWork work;
    ASSERT_TRUE(EnsureWorkChunks(work, MaxWorkChunks));
    CreatorWorkWriter real(&work, {}), counting(nullptr, {});
    for (int round = 0; round < 100000; ++round) {
        real.Message(0xB0, 7, 100);
        counting.Message(0xB0, 7, 100);
        real.Waits(20);
        counting.Waits(20);
    }
    EXPECT_EQ(real.BytesWritten(), counting.BytesWritten());
    EXPECT_EQ(real.Position(), counting.Position());
    // Six bytes a round (a message, 0xFF 0xFF 0xFC): 600 000 bytes span four chunks.
    EXPECT_EQ(real.ChunksReached(), 4);
}

TEST(CreatorWorkPositions, TheAppendPointLiesAfterTheWaitThatReachesTheTick) {
    CreatorWork work;
    ASSERT_TRUE(EnsureWorkChunks(work, 1));
    CreatorWorkWriter writer(&work, {});
    writer.Message(0x90, 60, 1);
    writer.Waits(24);          // 0xFF 0xFF 0xFF at offsets 3, 4, 5
    writer.Message(0x80, 60, 0);
    writer.Finish();
    EXPECT_EQ(PositionAfterTick(work, 0), (WorkPosition{0, 0}));
    EXPECT_EQ(PositionAfterTick(work, 8), (WorkPosition{0, 4}));
    EXPECT_EQ(PositionAfterTick(work, 12), (WorkPosition{0, 5}));  // inside the second wait
    EXPECT_EQ(PositionAfterTick(work, 24), (WorkPosition{0, 6}));
    EXPECT_EQ(PositionAfterTick(work, 500), (WorkPosition{0, 9}));  // beyond: the end
    ClearWorkMaterial(work);
    EXPECT_EQ(EndOfMaterial(work), (WorkPosition{0, 0}));
    EXPECT_EQ(MaterialTicks(work), 0);
}

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
