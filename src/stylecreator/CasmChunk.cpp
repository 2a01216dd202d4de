#include "stylecreator/CasmChunk.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/Bytes.h"

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

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
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
            if (ReadChannel(block.Content, channel, problem)) group.Channels.push_back(std::move(channel));
            if (!problem.empty()) table.Messages.push_back(block.Tag + ": " + problem);
        }
        // Other blocks ("Cntt" and the like) carry nothing the converter uses.
    }
    if (!message.empty()) {
        // A group cut short would leave its sections with only some of their channels: it is
        // left out, and its sections are converted as if the file had no table.
        table.Messages.push_back(message + "; the group is left out");
        return;
    }
    table.Groups.push_back(std::move(group));
}

}  // namespace

const CasmGroup* CasmTable::GroupFor(std::string_view section) const {
    const std::string wanted = Trimmed(section);
    for (const CasmGroup& group : Groups)
        for (const std::string& name : group.Sections)
            if (SameName(name, wanted)) return &group;
    return nullptr;
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
    if (!message.empty()) table.Messages.push_back(message);
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
            if (past) table.Messages.insert(table.Messages.begin(), claim + "; the table is read up to the end");
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
