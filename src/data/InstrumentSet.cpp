#include "data/InstrumentSet.h"

#include <charconv>
#include <filesystem>

#include "data/GeneralMidi.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/TextCase.h"

namespace chordella::data {

namespace {

// Lines without their line ends; control characters other than tab become spaces, and a
// line too long for the list is cut.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty() && lines.size() < InstrumentSet::MaxLines) {
        const std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        std::string line(raw.substr(0, InstrumentSet::MaxLineLength));
        for (char& c : line)
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t') c = ' ';
        lines.push_back(std::move(line));
    }
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos) lines.pop_back();
    return lines;
}

void ApplyDescriptor(InstrumentSet& set) {
    const std::string& descriptor = set.Lines.back();
    set.NumbersFromOne = descriptor.find("Patches +1") != std::string::npos;
    if (descriptor.size() < 2 || descriptor[1] < '0' || descriptor[1] > '9') return;  // patch mode 0
    const int digit = descriptor[1] - '0';
    if (digit < 3) {
        set.PatchMode = digit;
    } else if (digit <= 5) {
        set.ProgramMapping = true;
        set.PatchMode = digit - 3;
    } else {
        set.ProgramMapping = true;
        set.SecondFlag = true;
        set.PatchMode = digit - 6;
    }
}

}  // namespace

std::optional<std::uint8_t> InstrumentSet::MappedProgram(int program) const {
    if (!ProgramMapping || program < 0 || static_cast<std::size_t>(program) >= ProgramCount()) return std::nullopt;
    const std::string& line = Lines[static_cast<std::size_t>(program)];
    if (line.size() < 5) return std::nullopt;
    std::string_view field = std::string_view(line).substr(4, 3);
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    int value = -1;
    const auto [end, status] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (status != std::errc{} || end == field.data()) return std::nullopt;
    // What is sent is a data byte: a number beyond 0 … 127 is no mapping.
    if (value < 0 || value > 127) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

InstrumentSet BuiltInGeneralMidiSet() {
    InstrumentSet set;
    set.Name = std::string(InstrumentSet::BuiltInName);
    for (std::string_view name : GeneralMidiProgramNames()) set.Lines.emplace_back(name);
    set.Lines.emplace_back("[0] General MIDI");
    return set;
}

std::optional<InstrumentSet> ParseInstrumentSet(std::string_view text, std::string_view name, std::string* error) {
    InstrumentSet set;
    set.Name = platform::UpperCase(name);
    set.Lines = SplitLines(text);
    if (set.Lines.size() < 2) {
        if (error) *error = "no program names before the descriptor line";
        return std::nullopt;
    }
    ApplyDescriptor(set);
    return set;
}

std::optional<InstrumentSet> LoadInstrumentSet(const std::string& path, std::string* error) {
    std::string text;
    std::string reason;
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored) && !platform::FileExists(path)) {
        if (error) *error = path + ": not a file";  // a pipe or a device would block or never end
        return std::nullopt;
    }
    if (!platform::ReadTextFile(path, InstrumentSet::MaxFileBytes, text, reason)) {
        if (error) *error = path + ": " + reason;
        return std::nullopt;
    }
    auto set = ParseInstrumentSet(text, platform::FileNamePart(path), &reason);
    if (!set) {
        if (error) *error = path + ": " + reason;
        return std::nullopt;
    }
    set->Path = path;
    return set;
}

InstrumentSet ActiveInstrumentSet(const std::string& configuredPath, std::string* error) {
    if (configuredPath.empty()) return BuiltInGeneralMidiSet();
    if (auto set = LoadInstrumentSet(platform::WithForwardSlashes(configuredPath), error)) return std::move(*set);
    return BuiltInGeneralMidiSet();
}

}  // namespace chordella::data
