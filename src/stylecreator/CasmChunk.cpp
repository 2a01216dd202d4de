#include "stylecreator/CasmChunk.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/Bytes.h"
#include "platform/TextCase.h"

namespace chordella::stylecreator {

namespace casmchord {
std::string_view KindName(int kind) {
    static constexpr std::array<std::string_view, KindCount> names = {
        "Maj",   "Maj6",   "Maj7",  "Maj7(#11)", "Maj(9)",  "Maj7(9)", "Maj6(9)", "aug",     "m",
        "m6",    "m7",     "m7b5",  "m(9)",      "m7(9)",   "m7(11)",  "mM7",     "mM7(9)",  "dim",
        "dim7",  "7",      "7sus4", "7b5",       "7(9)",    "7(#11)",  "7(13)",   "7(b9)",   "7(b13)",
        "7(#9)", "Maj7aug", "7aug", "1+8",       "1+5",     "sus4",    "1+2+5",   "cancel"};
    return kind >= 0 && kind < KindCount ? names[static_cast<std::size_t>(kind)] : "?";
}
}  // namespace casmchord

namespace {

using platform::ByteReader;

constexpr std::size_t ShortEntryBytes = 20;   // up to and including the source chord kind

std::string Tag(std::span<const std::uint8_t> bytes) {
    std::string tag;
    for (std::uint8_t b : bytes) tag += std::isprint(b) ? static_cast<char>(b) : '?';
    return tag;
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

// One tagged block inside a container: tag, big-endian size, content. False at the end of the
// container or when the block does not fit (then `message` says why).
struct Block {
    std::string Tag;
    std::span<const std::uint8_t> Content;
};

bool NextBlock(ByteReader& reader, std::span<const std::uint8_t> container, const char* where, Block& block,
               std::string& message) {
    if (reader.Remaining() == 0) return false;
    const std::size_t at = reader.Offset();
    std::array<std::uint8_t, 4> tag{};
    std::uint32_t size = 0;
    if (!reader.Bytes(tag, "block tag") || !reader.U32BigEndian(size, "block size")) {
        message = std::string(where) + ": " + std::to_string(container.size() - at) +
                  " bytes left over at offset " + std::to_string(at) + ", too few for a block";
        return false;
    }
    block.Tag = Tag(tag);
    if (size > reader.Remaining()) {
        message = std::string(where) + ": block \"" + block.Tag + "\" at offset " + std::to_string(at) +
                  " claims " + std::to_string(size) + " bytes, only " + std::to_string(reader.Remaining()) +
                  " are left; reading stops there";
        return false;
    }
    block.Content = container.subspan(reader.Offset(), size);
    reader.Skip(size, "block content");
    return true;
}

std::vector<std::string> SectionNames(std::span<const std::uint8_t> content) {
    std::vector<std::string> names;
    std::string text(content.begin(), content.end());
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::string name = Trimmed(std::string_view(text).substr(start, comma - start));
        // Stop at a NUL: what follows it is padding.
        if (const auto nul = name.find('\0'); nul != std::string::npos) name = Trimmed(name.substr(0, nul));
        if (!name.empty()) names.push_back(name);
        start = comma + 1;
    }
    return names;
}

bool ReadChannel(std::span<const std::uint8_t> content, CasmChannel& channel, std::string& message) {
    if (content.size() < ShortEntryBytes) {
        message = "channel entry of " + std::to_string(content.size()) + " bytes, at least " +
                  std::to_string(ShortEntryBytes) + " expected; entry skipped";
        return false;
    }
    ByteReader reader(content);
    std::uint8_t source = 0, destination = 0, editable = 0, root = 0, kind = 0;
    std::array<std::uint8_t, 8> name{};
    std::uint16_t noteMute = 0;
    std::array<std::uint8_t, 5> chordMute{};
    reader.U8(source, "source channel");
    reader.Bytes(name, "voice name");
    reader.U8(destination, "destination channel");
    reader.U8(editable, "editable");
    reader.U16BigEndian(noteMute, "note mute");
    reader.Bytes(chordMute, "chord mute");
    reader.U8(root, "source root");
    reader.U8(kind, "source chord");
    if (reader.Failed()) {
        message = reader.Error();
        return false;
    }
    if (source > 15 || destination > 15) {
        message = "channel entry with source " + std::to_string(source) + " and destination " +
                  std::to_string(destination) + ", channels are 0 … 15; entry skipped";
        return false;
    }
    channel.SourceChannel = source;
    std::string voice(name.begin(), name.end());
    for (char& c : voice)
        if (!std::isprint(static_cast<unsigned char>(c))) c = ' ';
    channel.VoiceName = Trimmed(voice);
    channel.DestinationChannel = destination;
    channel.NoteMute = static_cast<std::uint16_t>(noteMute & 0x0FFF);
    channel.ChordMute = 0;
    for (std::uint8_t b : chordMute) channel.ChordMute = (channel.ChordMute << 8) | b;
    channel.SourceRoot = root % 12;
    if (root > 11) message = "source root " + std::to_string(root) + " read as " + std::to_string(root % 12);
    channel.SourceKind = kind < casmchord::KindCount ? kind : casmchord::Major;
    if (kind >= casmchord::KindCount)
        message += (message.empty() ? "" : "; ") + std::string("source chord kind ") + std::to_string(kind) + " read as Maj";
    return true;
}

constexpr std::size_t OldRulesBytes = ShortEntryBytes + 6;          // one set of rules
constexpr std::size_t NewRulesBytes = ShortEntryBytes + 2 + 3 * 6;  // middle range, three sets

// Tables of old entries, 0 … 5.
constexpr std::array<data::NoteTable, 6> OldTables{data::NoteTable::Bypass,       data::NoteTable::Melody,
                                                   data::NoteTable::Chord,        data::NoteTable::Bass,
                                                   data::NoteTable::MelodicMinor, data::NoteTable::HarmonicMinor};
// Tables of newer entries and "Cntt" blocks, 0 … 10; bit 7 marks a melody table as a bass table.
constexpr std::array<data::NoteTable, 11> NewTables{
    data::NoteTable::Bypass,        data::NoteTable::Melody,           data::NoteTable::Chord,
    data::NoteTable::MelodicMinor,  data::NoteTable::MelodicMinor5th,  data::NoteTable::HarmonicMinor,
    data::NoteTable::HarmonicMinor5th, data::NoteTable::NaturalMinor, data::NoteTable::NaturalMinor5th,
    data::NoteTable::Dorian,        data::NoteTable::Dorian5th};

bool NewTable(int ntt, data::NoteTable& table) {
    const int number = ntt & 0x7F;
    if (number >= static_cast<int>(NewTables.size())) return false;
    table = NewTables[static_cast<std::size_t>(number)];
    if ((ntt & 0x80) != 0 && table == data::NoteTable::Melody) table = data::NoteTable::Bass;
    return true;
}

// NTR, NTT, high key, note low, note high, retrigger rule. "" when all are in range.
std::string ReadRange(std::span<const std::uint8_t> six, bool newTables, data::NoteRangeRules& range) {
    const int ntr = six[0], ntt = six[1], highKey = six[2], low = six[3], high = six[4], rtr = six[5];
    if (ntr > 2) return "NTR " + std::to_string(ntr) + ", rules are 0 … 2";
    if (newTables) {
        if (!NewTable(ntt, range.Table)) return "NTT " + std::to_string(ntt) + ", tables are 0 … 10";
    } else if (ntt < static_cast<int>(OldTables.size())) {
        range.Table = OldTables[static_cast<std::size_t>(ntt)];
    } else if (!NewTable(ntt, range.Table)) {
        // Beyond the six old tables an entry names the minor family by the newer numbers
        // (its "Cntt" block says the same).
        return "NTT " + std::to_string(ntt) + ", tables are 0 … 10";
    }
    if (highKey > 11) return "high key " + std::to_string(highKey) + ", keys are 0 … 11";
    if (low > 127 || high > 127 || low > high)
        return "note limits " + std::to_string(low) + " … " + std::to_string(high) + ", not a range of 0 … 127";
    if (rtr > 5) return "retrigger rule " + std::to_string(rtr) + ", rules are 0 … 5";
    range.Rule = static_cast<data::NoteRule>(ntr);
    range.HighKey = static_cast<std::uint8_t>(highKey);
    range.NoteLow = static_cast<std::uint8_t>(low);
    range.NoteHigh = static_cast<std::uint8_t>(high);
    range.Retrigger = static_cast<data::RetriggerRule>(rtr);
    return {};
}

void ReadRules(std::span<const std::uint8_t> content, bool newEntry, CasmChannel& channel) {
    data::NativeChannelRules& rules = channel.Rules;
    rules.SourceRoot = static_cast<std::uint8_t>(channel.SourceRoot);
    rules.SourceKind = static_cast<std::uint8_t>(channel.SourceKind);
    const std::size_t needed = newEntry ? NewRulesBytes : OldRulesBytes;
    if (content.size() < needed) {
        channel.RulesProblem = "entry of " + std::to_string(content.size()) + " bytes ends before its rules (" +
                               std::to_string(needed) + " needed)";
        return;
    }
    if (!newEntry) {
        channel.RulesProblem = ReadRange(content.subspan(ShortEntryBytes, 6), false, rules.Ranges[1]);
        rules.Ranges[0] = rules.Ranges[2] = rules.Ranges[1];
    } else {
        const int low = content[ShortEntryBytes], high = content[ShortEntryBytes + 1];
        if (low > 127 || high > 127 || low > high) {
            channel.RulesProblem = "middle range " + std::to_string(low) + " … " + std::to_string(high) +
                                   ", not a range of 0 … 127";
            return;
        }
        rules.MiddleLow = static_cast<std::uint8_t>(low);
        rules.MiddleHigh = static_cast<std::uint8_t>(high);
        for (std::size_t r = 0; r < 3 && channel.RulesProblem.empty(); ++r)
            channel.RulesProblem = ReadRange(content.subspan(ShortEntryBytes + 2 + 6 * r, 6), true, rules.Ranges[r]);
    }
    rules.Active = channel.RulesProblem.empty();
}

// "Cntt": source channel, then a table of the newer numbering for every range of its entry.
void ApplyCntt(std::span<const std::uint8_t> content, CasmGroup& group, CasmTable& table) {
    data::NoteTable chosen{};
    if (content.size() < 2 || content[0] > 15 || !NewTable(content[1], chosen)) {
        table.Messages.push_back("Cntt: " + std::to_string(content.size()) + " bytes, not a channel and a table");
        table.Damaged = true;
        return;
    }
    for (CasmChannel& channel : group.Channels) {
        if (channel.SourceChannel != content[0]) continue;
        for (data::NoteRangeRules& range : channel.Rules.Ranges) range.Table = chosen;
    }
}

void ReadGroup(std::span<const std::uint8_t> content, CasmTable& table) {
    CasmGroup group;
    ByteReader reader(content);
    Block block;
    std::string message;
    while (NextBlock(reader, content, "CSEG", block, message)) {
        if (block.Tag == "Sdec") {
            for (std::string& name : SectionNames(block.Content)) group.Sections.push_back(std::move(name));
        } else if (block.Tag == "Ctab" || block.Tag == "Ctb2") {
            CasmChannel channel;
            std::string problem;
            if (ReadChannel(block.Content, channel, problem)) {
                ReadRules(block.Content, block.Tag == "Ctb2", channel);
                group.Channels.push_back(std::move(channel));
            }
            if (!problem.empty()) table.Messages.push_back(block.Tag + ": " + problem);
        } else if (block.Tag == "Cntt") {
            ApplyCntt(block.Content, group, table);
        }
        // Other blocks carry nothing the player uses.
    }
    if (!message.empty()) {
        // A group cut short would leave its sections with only some of their channels: it is
        // left out, and its sections are converted as if the file had no table.
        table.Messages.push_back(message + "; the group is left out");
        table.Damaged = true;
        return;
    }
    table.Groups.push_back(std::move(group));
}

}  // namespace

const CasmGroup* CasmTable::GroupFor(std::string_view section) const {
    const std::string wanted = Trimmed(section);
    for (const CasmGroup& group : Groups)
        for (const std::string& name : group.Sections)
            if (platform::SameNoCase(name, wanted)) return &group;
    return nullptr;
}

std::string CasmTable::NativeProblem() const {
    if (!Present || Groups.empty()) return "the file has no channel table";
    if (Damaged) return "the channel table is damaged (" + (Messages.empty() ? std::string("cut short") : Messages.back()) + ")";
    for (const CasmGroup& group : Groups)
        for (const CasmChannel& channel : group.Channels)
            if (!channel.Rules.Active)
                return "channel " + std::to_string(channel.SourceChannel + 1) + " of \"" +
                       (group.Sections.empty() ? std::string("?") : group.Sections.front()) + "\": " +
                       (channel.RulesProblem.empty() ? std::string("no rules") : channel.RulesProblem);
    return {};
}

CasmTable ReadCasmContent(std::span<const std::uint8_t> content) {
    CasmTable table;
    table.Present = true;
    ByteReader reader(content);
    Block block;
    std::string message;
    while (NextBlock(reader, content, "CASM", block, message)) {
        if (block.Tag == "CSEG") ReadGroup(block.Content, table);
        else table.Messages.push_back("CASM: block \"" + block.Tag + "\" skipped");
    }
    if (!message.empty()) {
        table.Messages.push_back(message);
        table.Damaged = true;
    }
    return table;
}

CasmTable ReadCasm(std::span<const std::uint8_t> file) {
    ByteReader reader(file);
    std::string message;
    while (reader.Remaining() > 0) {
        const std::size_t at = reader.Offset();
        std::array<std::uint8_t, 4> tag{};
        std::uint32_t size = 0;
        if (!reader.Bytes(tag, "chunk tag") || !reader.U32BigEndian(size, "chunk size")) {
            message = "file: " + std::to_string(file.size() - at) + " bytes left over at offset " + std::to_string(at) +
                      ", too few for a chunk";
            break;
        }
        const bool past = size > reader.Remaining();
        const std::string claim = "file: chunk \"" + Tag(tag) + "\" at offset " + std::to_string(at) + " claims " +
                                  std::to_string(size) + " bytes, only " + std::to_string(reader.Remaining()) +
                                  " are left";
        if (Tag(tag) == "CASM") {
            // A table cut short by the file's end is read as far as it goes.
            CasmTable table = ReadCasmContent(file.subspan(reader.Offset(), std::min<std::size_t>(size, reader.Remaining())));
            if (past) {
                table.Messages.insert(table.Messages.begin(), claim + "; the table is read up to the end");
                table.Damaged = true;
            }
            return table;
        }
        if (past) {
            message = claim + "; reading stops there";
            break;
        }
        reader.Skip(size, "chunk content");
    }
    CasmTable table;
    if (!message.empty()) table.Messages.push_back(message);
    return table;
}

}  // namespace chordella::stylecreator
