#include "library/SongEntry.h"

#include <algorithm>

namespace chordella::library {

namespace {

std::string Padded(std::string_view text, std::size_t width) {
    std::size_t cut = std::min(text.size(), width);
    // Never end inside a UTF-8 character: its bytes after the cut would be lost.
    if (cut < text.size())
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    std::string out(text.substr(0, cut));
    out.resize(width, ' ');
    return out;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Flag(const std::optional<bool>& value) { return value.value_or(false) ? '1' : '0'; }

std::optional<bool> ReadFlag(std::string_view line, std::size_t column) {
    if (column >= line.size() || !IsDigit(line[column])) return std::nullopt;
    return line[column] != '0';
}

std::optional<int> ReadDigit(std::string_view line, std::size_t column) {
    if (column >= line.size() || !IsDigit(line[column])) return std::nullopt;
    return line[column] - '0';
}

// Reads the number field at `column` and moves `column` past it (3 columns, or 4 for the
// old negative form). Past the end of the line the field is empty.
std::optional<int> ReadNumber(std::string_view line, std::size_t& column) {
    if (column + 3 > line.size()) {  // missing or cut: never read as another number
        column += 3;
        return std::nullopt;
    }
    std::size_t width = 3;
    const std::optional<int> value = ParseNumberField(line.substr(column, 4), width);
    column += width;
    return value;
}

}  // namespace

std::string FormatNumberField(int value) {
    value = std::clamp(value, NumberFieldMin, NumberFieldMax);
    if (value >= 0) {
        std::string digits = std::to_string(value);
        return std::string(3 - digits.size(), '0') + digits;
    }
    return Padded("-" + std::to_string(-value), 3);
}

std::optional<int> ParseNumberField(std::string_view text, std::size_t& width) {
    width = 3;
    if (text.size() >= 4 && text[0] == '-' && text[1] == '0' && IsDigit(text[2]) && IsDigit(text[3])) {
        width = 4;  // the old form: "%-3.3d" of a negative number takes four columns
        return -((text[2] - '0') * 10 + (text[3] - '0'));
    }
    std::string_view field = TrimRight(text.substr(0, 3));
    const bool negative = !field.empty() && field[0] == '-';
    if (negative) field.remove_prefix(1);
    if (field.empty() || !std::all_of(field.begin(), field.end(), IsDigit)) return std::nullopt;
    int value = 0;
    for (const char c : field) value = value * 10 + (c - '0');
    return negative ? -value : value;
}

bool PathFits(std::string_view path) { return path.size() <= PathWidth; }

std::string SongEntryPath(std::string_view line) {
    if (line.size() <= PathColumn) return {};
    return std::string(TrimRight(line.substr(PathColumn, PathWidth)));
}

std::string SongEntryTitle(std::string_view line) { return std::string(TrimRight(line.substr(0, TitleWidth))); }

std::string SongEntrySummary(const SongEntry& e) {
    std::string text;
    std::string muted;
    for (std::size_t c = 0; c < e.Mutes.size(); ++c)
        if (e.Mutes[c].value_or(false)) muted += (muted.empty() ? "" : ",") + std::to_string(c + 1);
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : "  ") + part; };
    if (!muted.empty()) add("mutes " + muted);
    if (e.Octave.value_or(0) != 0) add("octave " + std::to_string(*e.Octave));
    if (e.Transposition.value_or(0) != 0) add("transpose " + std::to_string(*e.Transposition));
    return text;
}

std::string FormatSongEntry(const SongEntry& entry) {
    std::string line = Padded(entry.Title, TitleWidth) + ' ' + Padded(entry.Path, PathWidth) + ' ';
    for (const auto& mute : entry.Mutes) line += Flag(mute);
    line += static_cast<char>('0' + std::clamp(entry.PlayMode.value_or(0), 0, 9));
    for (const auto* box : {&entry.ChordsBox, &entry.InstrumentsBox, &entry.HarmonicPad, &entry.MelodyAdLib,
                            &entry.SendChordCodes, &entry.KeyboardSplitBox})
        line += Flag(*box);
    line += FormatNumberField(entry.ChannelIndex.value_or(0));
    line += FormatNumberField(entry.ChannelIndex.value_or(0));
    line += FormatNumberField(entry.Octave.value_or(0));
    line += FormatNumberField(entry.Transposition.value_or(0));
    line += FormatNumberField(entry.InstrumentIndex.value_or(0));
    for (const auto& bar : entry.MixerBars) line += FormatNumberField(bar.value_or(0));
    // A line break inside the set would split the entry in two.
    for (const char c : entry.InstrumentSet)
        if (c != '\n' && c != '\r') line += c;
    return line;
}

SongEntry ParseSongEntry(std::string_view line) {
    SongEntry entry;
    entry.Title = SongEntryTitle(line);
    entry.Path = SongEntryPath(line);
    std::size_t column = SettingsColumn;
    for (auto& mute : entry.Mutes) mute = ReadFlag(line, column++);
    entry.PlayMode = ReadDigit(line, column++);
    for (auto* box : {&entry.ChordsBox, &entry.InstrumentsBox, &entry.HarmonicPad, &entry.MelodyAdLib,
                      &entry.SendChordCodes, &entry.KeyboardSplitBox})
        *box = ReadFlag(line, column++);
    ReadNumber(line, column);  // the first copy of the channel index; the second one counts
    entry.ChannelIndex = ReadNumber(line, column);
    entry.Octave = ReadNumber(line, column);
    entry.Transposition = ReadNumber(line, column);
    entry.InstrumentIndex = ReadNumber(line, column);
    for (auto& bar : entry.MixerBars) bar = ReadNumber(line, column);
    if (column < line.size()) entry.InstrumentSet = std::string(TrimRight(line.substr(column)));
    return entry;
}

}  // namespace chordella::library
