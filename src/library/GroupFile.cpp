#include "library/GroupFile.h"

#include "library/StyleGroups.h"
#include "platform/Files.h"

namespace chordella::library {

std::string GroupFile::PathIn(const platform::Paths& paths) { return paths.ProgramFile(GroupFileName); }

bool GroupFile::Load(std::string& error) {
    damaged_ = false;
    ini_ = platform::IniFile{};
    const std::string why = platform::WhyNotAFile(path_);
    if (why == "no such file") return true;
    std::string text;
    if (!why.empty()) {
        error = why;
    } else if (platform::ReadTextFile(path_, MaxFileBytes, text, error)) {
        // NUL bytes throughout without a byte-order mark: not a text file at all.
        const bool utf16Mark = text.size() >= 2 && ((static_cast<unsigned char>(text[0]) == 0xFF &&
                                                     static_cast<unsigned char>(text[1]) == 0xFE) ||
                                                    (static_cast<unsigned char>(text[0]) == 0xFE &&
                                                     static_cast<unsigned char>(text[1]) == 0xFF));
        if (utf16Mark || text.find('\0') == std::string::npos) {
            ini_.Parse(text);
            return true;
        }
        error = "not a text file";
    }
    damaged_ = true;
    return false;
}

void GroupFile::Parse(std::string_view text) {
    damaged_ = false;
    ini_.Parse(text);
}

std::vector<std::string> GroupFile::Entries(int number) const {
    std::vector<std::string> entries;
    const std::string section = StyleGroupSection(number);
    for (int key = 0; key < MaxEntries; ++key) {
        const std::string name = std::to_string(key);
        if (!ini_.Has(section, name)) break;
        entries.push_back(ini_.GetString(section, name, ""));
    }
    return entries;
}

void GroupFile::SetEntries(int number, const std::vector<std::string>& entries) {
    const std::string section = StyleGroupSection(number);
    ini_.EraseSection(section);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        ini_.SetString(section, std::to_string(i), entry.substr(0, entry.find_first_of("\r\n")));
    }
}

bool GroupFile::Save(std::string& error) const {
    if (damaged_) {
        error = "the file could not be read, so it is not written over";
        return false;
    }
    return ini_.Save(path_, &error);
}

}  // namespace chordella::library
