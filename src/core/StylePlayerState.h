#pragma once
// The style player's fields, kept with the loaded style in the style container. The
// section logic writes the loop range and the flags; the player reads the stream.
// Control thread only.

#include <cstdint>

namespace chordella::engine {

// The chained stream buffers of the style creator; a loaded style lies in the first.
constexpr int MaxStreamBuffers = 7;
// A StylePos this far past LoopEnd marks "a section switch happened, start the new part".
constexpr std::int32_t SectionSwitchMarker = 65535;

struct StylePlayerState {
    std::uint8_t StyleActive = 0;  // 1 = the style player runs in every tick
    bool StyleMode = true;         // style mode (shaped, transposed); false = song mode
    std::int16_t BufferIndex = 0;  // which chained stream buffer is read (0 … 6)
    std::int32_t StylePos = 0;     // offset of the next byte to read
    std::int32_t LoopStart = 0;
    std::int32_t LoopEnd = 0;
    std::int32_t PlayEnd = 0;      // reading stops here (the style length after loading)
    std::int16_t WaitTicks = 0;
    std::uint8_t FadeActive = 0;
    std::int16_t FadeAmount = 0;
    std::uint8_t SectionJustChanged = 0;
    std::uint8_t StopAtNextTick = 0;
    // Written by the section logic, read by the player: the part being played (0 … 7;
    // its mutes and cut-notes flags apply) and the beat within the style's measure, 0-based.
    std::int16_t CurrentSection = 1;
    std::int16_t StyleBeat = 0;
};

}  // namespace chordella::engine
