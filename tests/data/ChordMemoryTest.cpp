// The chord memory's records and the position arithmetic the engine and the editor use.
#include <gtest/gtest.h>

#include "data/ChordMemory.h"

namespace chordella::data {
namespace {

TEST(ChordMemoryPositions, MeasureAndBeatMapToPositionsAndBackAndTheCountFollowsTheLengthAndTheMeter) {
    EXPECT_EQ(PositionOf(1, 1, 16), 4);
    EXPECT_EQ(PositionOf(1, 4, 16), 16);
    EXPECT_EQ(PositionOf(2, 1, 16), 20);
    EXPECT_EQ(PositionOf(3, 2, 12), 32) << "3/4: 12 units per measure";
    for (int units : {4, 8, 12, 16, 20, 24})
        for (int measure = 1; measure < 40; ++measure)
            for (int beat = 1; beat <= units / 4; ++beat)
                EXPECT_EQ(MeasureOf(PositionOf(measure, beat, units), units), measure);
    EXPECT_EQ(MeasureOf(4 - 16, 16), 0) << "a lead-in measure before measure 1";
    EXPECT_EQ(MeasureOf(4 - 17, 16), -1);
    EXPECT_EQ(MeasureCount(4, 16), 0);
    EXPECT_EQ(MeasureCount(4 + 16 * 8, 16), 8);
    EXPECT_EQ(MeasureCount(4 + 16 * 8 + 12, 16), 8) << "an unfinished measure does not count";
    EXPECT_EQ(MeasureCount(4 + 12 * 5, 12), 5);
    EXPECT_EQ(MeasureCount(ChordMemorySize, 16), 750);
    EXPECT_EQ(MeasureCount(100, 0), 24) << "a broken meter counts beats instead of dividing by zero";
    EXPECT_EQ(MeasureOf(40, 2), 10);
}

TEST(ChordMemoryRecords, ReadAndWriteOnlyInsideTheMemoryAndOnlyNoteRootsWithTypesBelow128StartChords) {
    ChordMemory memory;
    ClearChordMemory(memory);
    const BeatRecord record{60, 3, 253, 102};
    EXPECT_TRUE(memory.SetRecord(20, record));
    EXPECT_EQ(memory.RecordAt(20), record);
    EXPECT_TRUE(memory.SetRecord(ChordMemorySize - 4, record));
    EXPECT_EQ(memory.RecordAt(ChordMemorySize - 4), record);
    EXPECT_FALSE(memory.SetRecord(ChordMemorySize - 3, record));
    EXPECT_FALSE(memory.SetRecord(0, record)) << "the header is not a record";
    EXPECT_FALSE(memory.SetRecord(-8, record));
    EXPECT_TRUE(memory.RecordAt(ChordMemorySize).Empty());
    EXPECT_TRUE(memory.RecordAt(-4).Empty());

    // A cleared memory is empty and stops on its first beat.
    memory.Bytes.fill(9);
    memory.ChordMemoryLength = 300;
    ClearChordMemory(memory);
    EXPECT_TRUE(memory.IsEmpty());
    EXPECT_EQ(memory.ChordMemoryLength, 4);
    EXPECT_EQ(memory.RecordAt(4), (BeatRecord{0, 0, CommandStop, 0}));
    int nonZero = 0;
    for (auto byte : memory.Bytes) nonZero += byte != 0;
    EXPECT_EQ(nonZero, 1);

    EXPECT_TRUE(StartsChord({48, 1, 0, 0}));
    EXPECT_TRUE(StartsChord({127, 34, 0, 0}));
    EXPECT_FALSE(StartsChord({0, 1, 0, 0})) << "root 0: the chord goes on";
    EXPECT_FALSE(StartsChord({128, 1, 0, 0}));
    EXPECT_FALSE(StartsChord({200, 1, 0, 0}));
    EXPECT_FALSE(StartsChord({48, 128, 0, 0}));
}

}  // namespace
}  // namespace chordella::data
