#pragma once
// The channel rules of a style that plays natively, stored at the end of its .vxs file.
//
// The block is written in the event stream's own grammar and sits after the last byte any part
// plays, so a reader that does not know it takes it as stream bytes no part reaches: the file
// reads, checks and plays exactly as the parts' bytes say, and saving it again keeps the block.
// This reader recognises the block by its trailer and takes it off the stream.
//
//   0x00                     end of stream: nothing that walks the stream gets past it
//   n × (0xBF a b)           the entries, two 7-bit bytes per message
//   0xBF 0x7E 0x01           marker 0x7E and the layout version (1)
//   0xBF nHigh nLow          n, the number of entry messages, in two 7-bit halves
//   0xBF sumHigh sumLow      the sum of the entry bytes, 14 bits
//
// An entry is 24 bytes (12 messages), one per part and channel with rules: part, channel,
// source root, source chord kind, middle range low and high, then for each of the three note
// ranges the note rule, table, high key, note low, note high and retrigger rule. Every value
// fits 7 bits. Status 0xBF is a controller message on channel 16, which no part ever plays here.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/NativeRules.h"
#include "data/StyleModel.h"

namespace chordella::data {

inline constexpr std::uint8_t RulesBlockStatus = 0xBF;
inline constexpr std::uint8_t RulesBlockMarker = 0x7E;
inline constexpr std::uint8_t RulesBlockVersion = 1;
inline constexpr std::size_t RulesEntryBytes = 24;
inline constexpr std::size_t RulesTrailerBytes = 9;
// Chord kinds a source chord may name (the 35 of the channel table and our major flat five).
inline constexpr int NativeChordKinds = 36;

// The block for `rules`; empty when no channel of any part has active rules.
std::vector<std::uint8_t> RulesBlockBytes(const NativeRules& rules);

struct RulesBlockFound {
    std::size_t StreamSize = 0;  // the stream without the block (the whole span when none)
    NativeRules Rules;           // Present only for a sound block
    std::string Problem;         // a block was found but cannot be used: what is wrong with it
};

// Looks for the block at the end of `stream`. A block is recognised by its trailer, by the
// shape of the messages before it and by lying after every byte the present parts of `parts`
// point at; anything else is stream. A recognised block with a bad checksum or a value out of
// range is taken off the stream all the same, and Problem says why its rules are not used.
RulesBlockFound FindRulesBlock(std::span<const std::uint8_t> stream, const PartTable& parts);

// Whether every value of `channel` lies in the range the engine's tables know; "" when it does.
std::string CheckChannelRules(const NativeChannelRules& channel);

}  // namespace chordella::data
