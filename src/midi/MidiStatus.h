#pragma once

#include <cstdint>

// The status bytes of the MIDI messages the program reads and writes. A channel message's
// status is one of the first seven ORed with its channel (0-15); the two system exclusive bytes
// open and close a sysex.
namespace chordella::midi::status {

inline constexpr std::uint8_t NoteOff = 0x80;
inline constexpr std::uint8_t NoteOn = 0x90;
inline constexpr std::uint8_t PolyPressure = 0xA0;
inline constexpr std::uint8_t ControlChange = 0xB0;
inline constexpr std::uint8_t ProgramChange = 0xC0;
inline constexpr std::uint8_t ChannelPressure = 0xD0;
inline constexpr std::uint8_t PitchBend = 0xE0;
inline constexpr std::uint8_t SystemExclusive = 0xF0;
inline constexpr std::uint8_t EndOfExclusive = 0xF7;

}  // namespace chordella::midi::status
