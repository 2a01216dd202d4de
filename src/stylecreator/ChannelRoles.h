#pragma once
// Channel roles by the instrument names the main window shows for the style's channels, and
// the channel move the rules use (all events of one channel to another, with its set-up).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "data/InstrumentSet.h"
#include "data/NativeRules.h"
#include "data/StyleState.h"

namespace chordella::stylecreator {

inline constexpr int DrumChannel = 9;    // channel 10
inline constexpr int BassChannel = 10;   // channel 11

using ChannelNames = std::array<std::string, data::StyleChannels>;

// The instrument name of every channel: the line of the instrument set for the channel's
// program; empty when no program is set or the set has no such line.
ChannelNames NamesOfChannels(const data::StyleHeader& header, const data::InstrumentSet& set);

// True when the upper-cased name contains `word` ("BASS", "GUITAR", "STRING").
bool HasRole(std::string_view name, std::string_view word);

// What the rules change: a style header and the stream it belongs to (a loaded style's first
// buffer, or the creator's material while it is being converted).
struct ChannelTarget {
    data::StyleHeader& Header;
    std::span<std::uint8_t> Stream;
    std::uint8_t* Modified = nullptr;   // set to 1 by a change, when given
    data::NativeRules* Native = nullptr;  // channel-table rules that follow their channel, when given
};
// The loaded style: its header and the StyleLength bytes of its first buffer.
ChannelTarget TargetOf(data::StyleState& style);

// Moves the messages of channel `from` between offsets `begin` and `end` to channel `to`.
// Answers the messages moved.
int MoveChannelMessages(std::span<std::uint8_t> stream, int from, int to, std::size_t begin = 0,
                        std::size_t end = SIZE_MAX);
// Moves every message of channel `from` to channel `to`. When `to` was not used, the mixer's
// set-up entries of `from` are copied to it and it becomes used; `from` stops being used.
void MoveStyleChannel(const ChannelTarget& target, int from, int to);

}  // namespace chordella::stylecreator
