#include <gtest/gtest.h>

#include <vector>

#include "data/CreatorWork.h"
#include "data/CreatorWorkWriter.h"

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

}  // namespace
}  // namespace chordella::data
