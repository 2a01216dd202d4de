#pragma once
// The section logic's fields, kept with the style in the style container: what follows the
// part that plays, where a fill returns to, the request of a control key and the running
// beat counter of the part. The part that plays (CurrentSection) and the beat within the
// style's measure (StyleBeat) are the style player's fields. Control thread only.

#include <cstdint>

namespace chordella::engine {

// What follows each part at its end: 0 = loop, 1 … 7 = that part, 254 = stop,
// 255 = back to ReturnSection (a fill).
constexpr std::int16_t NextLoop = 0;
constexpr std::int16_t NextStop = 254;
constexpr std::int16_t NextReturn = 255;
constexpr std::int16_t NoSectionRequest = -1;

struct SectionState {
    // What happens when the part reaches LoopEnd: 0 = loop, 1 … 7 = that part, 254 = stop.
    std::int16_t NextSection = NextLoop;
    // The main part a fill returns to.
    std::int16_t ReturnSection = 1;
    // The part a control key asked for (−1 = none), applied at the start of a grid unit.
    std::int32_t SectionRequest = NoSectionRequest;
    // The running position shown while a part plays (4 per beat) and its value at the part's start.
    std::int16_t PartBeatCounter = 4;
    std::int16_t PartFirstBeat = 4;
};

}  // namespace chordella::engine
