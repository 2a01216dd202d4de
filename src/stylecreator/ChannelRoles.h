#pragma once
// Channel roles by the instrument names the main window shows for the style's channels, and
// the channel move the rules use (all events of one channel to another, with its set-up).

#include <array>
#include <string>
#include <string_view>

#include "data/InstrumentSet.h"
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

// Moves every message of channel `from` in the style's stream (its first buffer, StyleLength
// bytes) to channel `to`. When `to` was not used, the mixer's set-up entries of `from` are
// copied to it and it becomes used; `from` stops being used (the whole stream moved).
void MoveStyleChannel(data::StyleState& style, int from, int to);

}  // namespace chordella::stylecreator
