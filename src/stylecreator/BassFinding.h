#pragma once
// Which channel of a style is its bass, and why. The evidence is taken in this order:
//   1. the channel table of a keyboard style file (CASM): the source channel it sends to the
//      keyboard's bass part (channel 11);
//   2. the voices the style selects itself (the set-up's bank and program and every program
//      change of its stream), read through the voice map, so that a maker's bank 8 program 17
//      counts as the bass it is and a drum kit switched to a bass program later counts too;
//   3. the instrument names of the channels' programs (the name contains "BASS").
// The channel rules ("Mute BASS", the bass on channel 11, normalising) and the batch's
// deletion of styles without bass go by what is found here.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "data/StyleState.h"
#include "data/VoiceMap.h"
#include "stylecreator/CasmChunk.h"
#include "stylecreator/ChannelRoles.h"

namespace chordella::stylecreator {

enum class BassEvidence { None, ChannelTable, ConvertedBassPart, StreamVoice, ProgramName };

struct BassFinding {
    int Channel = -1;              // 0-based; −1: no bass
    BassEvidence Evidence = BassEvidence::None;
    data::Voice Voice;             // the first voice the channel selects
    std::string Why;               // "the channel table sends it to the bass part as \"Bass\""
};

// "channel table", "voice", "program name", "none"
std::string EvidenceText(BassEvidence evidence);

using ChannelVoices = std::array<std::vector<data::Voice>, data::StyleChannels>;
// Every voice each channel selects: the set-up's, then each program change of the stream with
// the bank selects sent before it, each voice once.
ChannelVoices VoicesOfChannels(const data::StyleHeader& header, std::span<const std::uint8_t> stream);

// The source channel the table sends to the bass part (one that plays under major chords
// first); Channel −1 when the table names none.
BassFinding BassOfChannelTable(const CasmTable& table, const ChannelVoices& voices);

// The bass of a style without a channel table. A converted style (ConvertedFlag 1) whose
// channel 11 plays has its bass there: the converter put there what the file's channel table
// sent to the bass part (the format's own bass channel, without a table). Otherwise the bass
// is found by the voices, else by the channels' names; only channels with notes, never the
// drum channel; channel 11 first, then the lowest other channel, channel 1 last.
BassFinding FindBass(const data::StyleHeader& header, std::span<const std::uint8_t> stream,
                     const ChannelNames& names, const data::VoiceMap& voices);

// The names with the bass found named as a bass (its name kept after "Bass: ").
ChannelNames NamesWithBass(ChannelNames names, const BassFinding& bass);

// The names the channel rules go by for a loaded style: its channels' instrument names with
// its bass found as above (without a channel table).
ChannelNames RuleNamesOf(const data::StyleState& style, const data::InstrumentSet& set);

}  // namespace chordella::stylecreator
