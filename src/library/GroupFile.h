#pragma once
// The style groups file ("chordella.vxg" beside the settings): an INI file with one section
// "Group" + N per group, whose keys "0", "1", "2", … hold the entries in list order. Reading
// a group stops at the first missing key. Everything else in the file (other sections,
// comments, lines that cannot be read) is kept as it was when a group is saved.
//
// A file that exists but cannot be read (not a file, too large, binary) is damaged: it is
// never written over, so the groups it may still hold are not lost.
//
// Control thread.

#include <string>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace chordella::library {

inline constexpr std::string_view GroupFileName = "chordella.vxg";

class GroupFile {
public:
    // Reading a group stops after this many entries.
    static constexpr int MaxEntries = 4096;
    static constexpr std::size_t MaxFileBytes = 8 * 1024 * 1024;

    explicit GroupFile(std::string path) : path_(std::move(path)) {}
    // Where the program keeps it: beside the INI file.
    static std::string PathIn(const platform::Paths& paths);

    // Reads the file; a missing file is an empty one. False, with the reason in `error`,
    // when the file exists but cannot be read: the groups are then empty and Save refuses.
    bool Load(std::string& error);
    // Reads groups from text (the fuzz target and tests); never fails.
    void Parse(std::string_view text);

    // The entries of group `number`: keys "0", "1", … until one is missing.
    std::vector<std::string> Entries(int number) const;
    // Replaces the group's section with these entries (no section when there are none).
    // Entries are single lines: a line break in one ends it there.
    void SetEntries(int number, const std::vector<std::string>& entries);

    // Writes the file through a temporary file and a rename. False with the reason when the
    // file was found damaged or cannot be written.
    bool Save(std::string& error) const;

    bool Damaged() const { return damaged_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    platform::IniFile ini_;
    bool damaged_ = false;
};

}  // namespace chordella::library
