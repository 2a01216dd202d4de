#include "data/NativeRulesBlock.h"

#include <algorithm>
#include <array>
#include <optional>

namespace chordella::data {

namespace {

constexpr std::size_t MessageBytes = 3;
constexpr int Mask14 = 0x3FFF;   // n and the checksum are stored in 14 bits

std::string PartChannel(int part, int channel) {
    return "part " + std::to_string(part) + " channel " + std::to_string(channel + 1);
}

void PutRange(std::vector<std::uint8_t>& entry, const NoteRangeRules& range) {
    entry.push_back(static_cast<std::uint8_t>(range.Rule));
    entry.push_back(static_cast<std::uint8_t>(range.Table));
    entry.push_back(range.HighKey);
    entry.push_back(range.NoteLow);
    entry.push_back(range.NoteHigh);
    entry.push_back(static_cast<std::uint8_t>(range.Retrigger));
}

std::string CheckRange(const NoteRangeRules& range) {
    const auto rule = static_cast<int>(range.Rule), table = static_cast<int>(range.Table),
               retrigger = static_cast<int>(range.Retrigger);
    if (rule > static_cast<int>(NoteRule::Guitar)) return "note rule " + std::to_string(rule) + ", rules are 0 … 2";
    if (table >= NoteTableCount) return "table " + std::to_string(table) + ", tables are 0 … 11";
    if (range.HighKey > 11) return "high key " + std::to_string(range.HighKey) + ", keys are 0 … 11";
    if (range.NoteLow > 127 || range.NoteHigh > 127 || range.NoteLow > range.NoteHigh)
        return "note limits " + std::to_string(range.NoteLow) + " … " + std::to_string(range.NoteHigh) +
               ", not a range of 0 … 127";
    if (retrigger > static_cast<int>(RetriggerRule::NoteGenerator))
        return "retrigger rule " + std::to_string(retrigger) + ", rules are 0 … 5";
    return {};
}

NoteRangeRules TakeRange(std::span<const std::uint8_t> six) {
    NoteRangeRules range;
    range.Rule = static_cast<NoteRule>(six[0]);
    range.Table = static_cast<NoteTable>(six[1]);
    range.HighKey = six[2];
    range.NoteLow = six[3];
    range.NoteHigh = six[4];
    range.Retrigger = static_cast<RetriggerRule>(six[5]);
    return range;
}

// The largest offset a present part points at; the block must start at or after it.
std::int64_t LastPartOffset(const PartTable& parts) {
    std::int64_t last = 0;
    for (const PartRecord& part : parts) {
        if (!part.Present()) continue;
        for (std::int32_t offset : {part.RangeStart, part.RangeEnd, part.Beat2Offset, part.Beat3Offset, part.Beat4Offset})
            last = std::max<std::int64_t>(last, offset);
    }
    return last;
}

int Seven14(std::uint8_t high, std::uint8_t low) { return (high << 7) | low; }

// The entry bytes decoded into `rules`; "" or what is wrong.
std::string DecodeEntries(std::span<const std::uint8_t> payload, NativeRules& rules) {
    if (payload.size() % RulesEntryBytes != 0)
        return std::to_string(payload.size()) + " entry bytes are not whole entries of " + std::to_string(RulesEntryBytes);
    for (std::size_t at = 0; at < payload.size(); at += RulesEntryBytes) {
        const auto entry = payload.subspan(at, RulesEntryBytes);
        const int part = entry[0], channel = entry[1];
        if (part >= PartCount || channel >= StyleChannels)
            return "entry " + std::to_string(at / RulesEntryBytes) + " names part " + std::to_string(part) +
                   " channel " + std::to_string(channel + 1) + ", which no style has";
        NativeChannelRules& channelRules = rules.Parts[static_cast<std::size_t>(part)][static_cast<std::size_t>(channel)];
        if (channelRules.Active) return PartChannel(part, channel) + " has two entries";
        channelRules.Active = true;
        channelRules.SourceRoot = entry[2];
        channelRules.SourceKind = entry[3];
        channelRules.MiddleLow = entry[4];
        channelRules.MiddleHigh = entry[5];
        for (std::size_t r = 0; r < 3; ++r) channelRules.Ranges[r] = TakeRange(entry.subspan(6 + 6 * r, 6));
        if (std::string problem = CheckChannelRules(channelRules); !problem.empty())
            return PartChannel(part, channel) + ": " + problem;
    }
    rules.Present = !payload.empty();
    return {};
}

}  // namespace

std::string CheckChannelRules(const NativeChannelRules& channel) {
    if (channel.SourceRoot > 11) return "source root " + std::to_string(channel.SourceRoot) + ", roots are 0 … 11";
    if (channel.SourceKind >= NativeChordKinds)
        return "source chord kind " + std::to_string(channel.SourceKind) + ", kinds are 0 … " +
               std::to_string(NativeChordKinds - 1);
    if (channel.MiddleLow > 127 || channel.MiddleHigh > 127 || channel.MiddleLow > channel.MiddleHigh)
        return "middle range " + std::to_string(channel.MiddleLow) + " … " + std::to_string(channel.MiddleHigh) +
               ", not a range of 0 … 127";
    for (const NoteRangeRules& range : channel.Ranges)
        if (std::string problem = CheckRange(range); !problem.empty()) return problem;
    return {};
}

std::vector<std::uint8_t> RulesBlockBytes(const NativeRules& rules) {
    std::vector<std::uint8_t> payload;
    if (rules.Present) {
        for (int part = 0; part < PartCount; ++part) {
            for (int channel = 0; channel < StyleChannels; ++channel) {
                const NativeChannelRules& c = rules.Parts[static_cast<std::size_t>(part)][static_cast<std::size_t>(channel)];
                if (!c.Active) continue;
                payload.insert(payload.end(), {static_cast<std::uint8_t>(part), static_cast<std::uint8_t>(channel),
                                               c.SourceRoot, c.SourceKind, c.MiddleLow, c.MiddleHigh});
                for (const NoteRangeRules& range : c.Ranges) PutRange(payload, range);
            }
        }
    }
    if (payload.empty()) return {};
    int sum = 0;
    for (std::uint8_t& b : payload) {
        b &= 0x7F;   // rules that passed CheckChannelRules are 7-bit already; nothing else may break the grammar
        sum = (sum + b) & Mask14;
    }
    const int messages = static_cast<int>(payload.size() / 2);
    std::vector<std::uint8_t> block{0x00};
    for (std::size_t at = 0; at < payload.size(); at += 2)
        block.insert(block.end(), {RulesBlockStatus, payload[at], payload[at + 1]});
    block.insert(block.end(), {RulesBlockStatus, RulesBlockMarker, RulesBlockVersion,
                               RulesBlockStatus, static_cast<std::uint8_t>(messages >> 7),
                               static_cast<std::uint8_t>(messages & 0x7F), RulesBlockStatus,
                               static_cast<std::uint8_t>(sum >> 7), static_cast<std::uint8_t>(sum & 0x7F)});
    return block;
}

// Where a block that ends `stream` starts, judged by its shape alone; nullopt when the end of
// the stream is no block.
std::optional<std::size_t> BlockStart(std::span<const std::uint8_t> stream, std::int64_t lastPartOffset) {
    if (stream.size() < 1 + RulesTrailerBytes) return std::nullopt;
    const auto isMessage = [&](std::size_t at) {
        return stream[at] == RulesBlockStatus && stream[at + 1] < 0x80 && stream[at + 2] < 0x80;
    };
    const std::size_t trailer = stream.size() - RulesTrailerBytes;
    for (std::size_t m = trailer; m < stream.size(); m += MessageBytes)
        if (!isMessage(m)) return std::nullopt;
    if (stream[trailer + 1] != RulesBlockMarker) return std::nullopt;
    const auto messages = static_cast<std::size_t>(Seven14(stream[trailer + 4], stream[trailer + 5]));
    const std::size_t blockSize = 1 + MessageBytes * messages + RulesTrailerBytes;
    if (blockSize > stream.size()) return std::nullopt;
    const std::size_t start = stream.size() - blockSize;
    if (stream[start] != 0x00 || static_cast<std::int64_t>(start) < lastPartOffset) return std::nullopt;
    for (std::size_t at = start + 1; at < trailer; at += MessageBytes)
        if (!isMessage(at)) return std::nullopt;
    return start;
}

RulesBlockFound FindRulesBlock(std::span<const std::uint8_t> stream, const PartTable& parts) {
    RulesBlockFound found;
    found.StreamSize = stream.size();
    const std::int64_t lastPartOffset = LastPartOffset(parts);
    const std::optional<std::size_t> start = BlockStart(stream, lastPartOffset);
    if (!start) return found;
    // From here on it is our block: the stream ends before it, whatever its content says. Blocks
    // stacked right before it (this program never writes them) go too, so that the style written
    // back from what was read reads the same again.
    found.StreamSize = *start;
    while (const std::optional<std::size_t> earlier = BlockStart(stream.first(found.StreamSize), lastPartOffset))
        found.StreamSize = *earlier;
    const auto trailer = stream.last(RulesTrailerBytes);
    std::vector<std::uint8_t> payload;
    for (std::size_t at = *start + 1; at < stream.size() - RulesTrailerBytes; at += MessageBytes)
        payload.insert(payload.end(), {stream[at + 1], stream[at + 2]});
    if (trailer[2] != RulesBlockVersion) {
        found.Problem = "the channel rules are in layout " + std::to_string(trailer[2]) + ", this program reads layout " +
                        std::to_string(RulesBlockVersion);
        return found;
    }
    int sum = 0;
    for (std::uint8_t b : payload) sum = (sum + b) & Mask14;
    if (sum != Seven14(trailer[7], trailer[8])) {
        found.Problem = "the channel rules do not add up to their checksum (" + std::to_string(sum) + " against " +
                        std::to_string(Seven14(trailer[7], trailer[8])) + ")";
        return found;
    }
    NativeRules rules;
    if (std::string problem = DecodeEntries(payload, rules); !problem.empty()) {
        found.Problem = "the channel rules are damaged: " + problem;
        return found;
    }
    found.Rules = rules;
    return found;
}

}  // namespace chordella::data
