#pragma once
// Positions in the creator's material by measure and beat. Measure m, beat b (both from 1)
// lie at chord-memory position M·(m−1) + 4 + 4·(b−1) and at tick 24·(M/4)·(m−1) + 24·(b−1),
// M being the meter in chord-memory units per measure (4 per quarter note). A tick is found
// in the stream by walking its wait bytes, or faster through the beat index when one was built.

#include <cstdint>
#include <vector>

#include "data/CreatorWork.h"

namespace chordella::stylecreator {

inline constexpr int TicksPerBeat = 24;
// A stream offset that is no position (offset 0 is reported as this).
inline constexpr std::uint32_t NoStreamOffset = 0xFFFFFFFF;

int MeasurePosition(int measure, int beat, int measureUnits);
std::int64_t MeasureTick(int measure, int beat, int measureUnits);

// One entry per 24 ticks: where that tick is reached.
struct BeatIndexEntry {
    std::uint32_t Offset = 0;   // the byte reading goes on at (a wait partly used, or the next event)
    std::uint8_t Chunk = 0;
    std::uint8_t TicksUsed = 0; // ticks of the wait byte at Offset already used
};
using BeatIndex = std::vector<BeatIndexEntry>;

// The index of the whole material (entry k for tick 24·k, as far as the material reaches).
BeatIndex BuildBeatIndex(const data::CreatorWork& work);

// Where a tick lies: right after the wait byte that reaches it; when the tick falls inside that
// wait, TicksToWait says how many of its ticks are still to come.
struct StreamSeek {
    data::WorkPosition At;
    int TicksToWait = 0;
    bool Reached = false;       // false: the material ends before the tick (At is its end)
};
StreamSeek SeekTick(const data::CreatorWork& work, std::int64_t tick, const BeatIndex* index = nullptr);

// The other way: the tick at which the byte at `at` plays (the waits before it); a place past
// the material's end gives the material's length in ticks.
std::int64_t TickAt(const data::CreatorWork& work, data::WorkPosition at);

// The offset in chunk 0 of (measure, beat); NoStreamOffset when it is offset 0, lies beyond
// chunk 0 or beyond the material.
std::uint32_t Chunk0Offset(const data::CreatorWork& work, int measure, int beat, int measureUnits,
                           const BeatIndex* index = nullptr);

// Whole measures of material in chunk 0 (the measures parts may use).
int MeasuresInChunk0(const data::CreatorWork& work, int measureUnits);

}  // namespace chordella::stylecreator
