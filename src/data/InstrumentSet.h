#pragma once
// Instrument sets (.vxi): the program names of the connected sound module, one per line,
// shown in the main window's instrument list. The last line is a descriptor: its second
// character is a digit d; d < 3 is the patch mode, d ≥ 3 switches program mapping on with
// patch mode d − 3 (or d − 6 and the second flag when d > 5). "Patches +1" in the
// descriptor shows program numbers from 1. With program mapping on, characters 5 … 7 of
// program p's line name the program actually sent for p.
//
// Without a set (none configured, or its file missing) the built-in General MIDI list is
// used, named "GM.VXI".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chordella::data {

struct InstrumentSet {
    static constexpr std::string_view BuiltInName = "GM.VXI";
    static constexpr std::size_t MaxFileBytes = 1024 * 1024;
    static constexpr std::size_t MaxLines = 16384;
    static constexpr std::size_t MaxLineLength = 256;

    std::string Name;                // upper-case file name ("GM.VXI", "DB50XG.VXI")
    std::string Path;                // empty for the built-in list
    std::vector<std::string> Lines;  // the instrument list: program lines, then the descriptor
    int PatchMode = 0;
    bool ProgramMapping = false;
    bool SecondFlag = false;         // descriptor digit above 5
    bool NumbersFromOne = false;     // "Patches +1"

    // The program lines (without the descriptor).
    std::size_t ProgramCount() const { return Lines.empty() ? 0 : Lines.size() - 1; }
    // With program mapping on: the program sent in place of `program`, when the set maps it.
    std::optional<std::uint8_t> MappedProgram(int program) const;
    bool IsBuiltIn() const { return Path.empty(); }
};

// The built-in General MIDI set: the 128 program names and a descriptor of patch mode 0.
InstrumentSet BuiltInGeneralMidiSet();

// Reads a set from its text. Nullopt with a reason when the text holds no program line.
std::optional<InstrumentSet> ParseInstrumentSet(std::string_view text, std::string_view name,
                                                std::string* error = nullptr);
// Reads a set file; the set is named after the file, in upper case.
std::optional<InstrumentSet> LoadInstrumentSet(const std::string& path, std::string* error = nullptr);

// The set the settings name: the file when it can be read, else the built-in list.
InstrumentSet ActiveInstrumentSet(const std::string& configuredPath, std::string* error = nullptr);

}  // namespace chordella::data
