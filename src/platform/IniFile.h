#pragma once
// INI files the way the classic profile functions read them: sections and keys are
// case-insensitive, a missing or unreadable value gives the caller's default, and a
// write keeps the order (and comments) of what was there.

#include <string>
#include <string_view>
#include <vector>

namespace chordella::platform {

class IniFile {
public:
    // Lines longer than this are unreadable and skipped; files larger than MaxFileBytes
    // are not read at all (their defaults apply).
    static constexpr std::size_t MaxLineLength = 64 * 1024;
    static constexpr std::size_t MaxFileBytes = 64 * 1024 * 1024;

    // Replaces the content with the file's. A missing or unreadable file leaves the
    // object empty and returns false with the reason in `error`.
    bool Load(const std::string& path, std::string* error = nullptr);
    // Replaces the content with the text's; never fails, skips what it cannot read.
    void Parse(std::string_view text);
    // Writes through a temporary file renamed over the old one.
    bool Save(const std::string& path, std::string* error = nullptr) const;
    std::string Serialize() const;

    bool Has(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Leading optional sign and digits, as the profile functions read them ("12abc" → 12);
    // no digits or a value out of range → fallback.
    int GetInt(std::string_view section, std::string_view key, int fallback) const;
    bool GetBool(std::string_view section, std::string_view key, bool fallback) const;

    void SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInt(std::string_view section, std::string_view key, int value);
    void SetBool(std::string_view section, std::string_view key, bool value);
    void EraseKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(std::string_view section) const;

private:
    struct Line {
        std::string key;    // empty for a comment or blank line kept as it was
        std::string value;  // the value, or the raw text of a comment line
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };

    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    const Line* FindKey(std::string_view section, std::string_view key) const;

    std::vector<Line> preamble_;  // comments before the first section
    std::vector<Section> sections_;
};

}  // namespace chordella::platform
