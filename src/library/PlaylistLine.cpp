#include "library/PlaylistLine.h"

#include <array>
#include <vector>

#include "platform/TextCase.h"

namespace chordella::library {

namespace {

constexpr std::array<std::string_view, 7> TagWords = {"BASS", "GUITARS", "PIANOS", "ORGANS", "LEADS", "PADS", "FXS"};
constexpr std::array<std::string_view, 9> StyleExtensions = {".sty", ".prs", ".bcs", ".sst", ".vxs",
                                                             ".pcs", ".pst", ".fps", ".scp"};

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == '|') {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    return fields;
}

// The tag bit of a field ("BASS", any case), 0 for any other text.
InstrumentTags TagOfField(std::string_view field) {
    for (std::size_t i = 0; i < TagWords.size(); ++i)
        if (platform::SameNoCase(field, TagWords[i])) return static_cast<InstrumentTags>(1u << i);
    return 0;
}

bool LooksLikeMetrum(std::string_view field) {
    const std::size_t slash = field.find('/');
    if (slash == std::string_view::npos || slash == 0 || slash + 1 >= field.size() || field.size() > 5) return false;
    for (std::size_t i = 0; i < field.size(); ++i)
        if (i != slash && (field[i] < '0' || field[i] > '9')) return false;
    return true;
}

std::optional<int> TempoOfField(std::string_view field) {
    if (field.size() < 4 || !platform::SameNoCase(field.substr(0, 3), "bpm")) return std::nullopt;
    int value = 0;
    for (char c : field.substr(3)) {
        if (c < '0' || c > '9' || value > 100000) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::string_view TagWord(InstrumentTag tag) {
    for (std::size_t i = 0; i < TagWords.size(); ++i)
        if (tag == (1u << i)) return TagWords[i];
    return {};
}

std::string TagText(InstrumentTags tags) {
    std::string text;
    for (std::size_t i = 0; i < TagWords.size(); ++i)
        if ((tags & (1u << i)) != 0) text += "|" + std::string(TagWords[i]);
    return text;
}

std::string FormatPlaylistLine(const PlaylistEntry& entry) {
    std::string line = entry.Path;
    line += entry.Tempo >= LowestTempo ? "|bpm" + std::to_string(entry.Tempo) : std::string("|bpm???");
    // An empty field would read back as the start of the tags.
    if (!entry.Metrum.empty()) line += "|" + entry.Metrum;
    if (!entry.Description.empty()) line += "|" + entry.Description;
    if (entry.Tagged) line += "|" + TagText(entry.Tags);
    return line;
}

PlaylistEntry ParsePlaylistLine(std::string_view line) {
    PlaylistEntry entry;
    const std::vector<std::string_view> fields = Fields(line);
    entry.Path = std::string(fields[0]);
    std::size_t next = 1;
    if (next < fields.size() && fields[next].size() >= 3 && platform::SameNoCase(fields[next].substr(0, 3), "bpm")) {
        entry.Tempo = TempoOfField(fields[next]).value_or(0);
        if (entry.Tempo < LowestTempo) entry.Tempo = 0;
        ++next;
        if (next < fields.size() && fields[next].empty() && next + 1 < fields.size() && LooksLikeMetrum(fields[next + 1]))
            ++next;  // "|bpm???||4/4" as older lists wrote it
    }
    if (next < fields.size() && LooksLikeMetrum(fields[next])) entry.Metrum = std::string(fields[next++]);
    bool inTags = false;
    for (; next < fields.size(); ++next) {
        const std::string_view field = fields[next];
        if (field.empty() && !inTags) {
            inTags = true;
            entry.Tagged = true;
            continue;
        }
        const InstrumentTags tag = TagOfField(field);
        if (inTags && tag != 0) {
            entry.Tags |= tag;
            continue;
        }
        if (field.empty()) continue;
        if (!entry.Description.empty()) entry.Description += "|";
        entry.Description += field;
    }
    return entry;
}

bool IsStyleFileName(std::string_view path) {
    if (path.size() < 4) return false;
    const std::string_view extension = path.substr(path.size() - 4);
    for (std::string_view known : StyleExtensions)
        if (platform::SameNoCase(extension, known)) return true;
    return false;
}

bool IsOwnStyleFileName(std::string_view path) { return path.size() >= 4 && platform::SameNoCase(path.substr(path.size() - 4), ".vxs"); }

bool IsStyleLine(std::string_view line) {
    const std::string lower = platform::LowerCase(line);
    for (std::string_view known : StyleExtensions)
        if (lower.find(known) != std::string::npos) return true;
    return false;
}

std::string_view LinePath(std::string_view line) { return line.substr(0, line.find('|')); }

std::optional<int> LineTempo(std::string_view line) {
    const std::string lower = platform::LowerCase(line);
    const std::size_t at = lower.find("|bpm");
    if (at == std::string::npos) return std::nullopt;
    const std::size_t end = lower.find('|', at + 1);
    return TempoOfField(std::string_view(line).substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1));
}

bool LineHasBassTag(std::string_view line) {
    for (std::string_view field : Fields(line))
        if (platform::SameNoCase(field, "BASS")) return true;
    return false;
}

}  // namespace chordella::library
