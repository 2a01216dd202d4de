#include "remote/CommandFile.h"

#include "platform/Files.h"

namespace chordella::remote {

std::optional<MidiCommandTable> ParseCommandFile(std::string_view text, std::string* error) {
    std::string_view line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty()) {
        if (error) *error = "the file holds no command line";
        return std::nullopt;
    }
    return ParseTableText(line, error);
}

std::optional<MidiCommandTable> ReadCommandFile(const std::string& path, std::string& error) {
    std::string text;
    std::string why;
    if (!platform::ReadTextFile(path, MaxCommandFileBytes, text, why)) {
        error = path + ": " + why;
        return std::nullopt;
    }
    std::optional<MidiCommandTable> table = ParseCommandFile(text, &why);
    if (!table) error = path + ": " + why;
    return table;
}

bool WriteCommandFile(const std::string& path, const MidiCommandTable& table, std::string& error) {
    std::string why;
    if (platform::WriteFileAtomically(path, TableText(table) + "\n", why)) return true;
    error = path + ": " + why;
    return false;
}

}  // namespace chordella::remote
