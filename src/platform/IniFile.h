#pragma once
// INI files the way the classic profile functions read them: sections and keys are
// case-insensitive, a missing or unreadable value gives the caller's default, and a
// write keeps the order (and comments) of what was there. Lines that cannot be read (a
// broken section header, a line without "=", a NUL byte, a line over MaxLineLength) are
// kept as they were and written back unchanged. UTF-8 with or without a byte-order mark
// and UTF-16 with one are read, and written back in the encoding they came in.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace chordella::platform {

class IniFile {
public:
    // Lines longer than this are not read as keys (they are kept as they were); files
    // larger than MaxFileBytes are not read at all (their defaults apply).
    static constexpr std::size_t MaxLineLength = 64 * 1024;
    static constexpr std::size_t MaxFileBytes = 64 * 1024 * 1024;

    enum class Encoding { Utf8, Utf8WithMark, Utf16Le, Utf16Be };

    // Replaces the content with the file's. A missing or unreadable file, or one that
    // holds NUL bytes throughout without saying it is UTF-16 (a byte-order mark), leaves
    // the object empty and returns false with the reason in `error`.
    bool Load(const std::string& path, std::string* error = nullptr);
    // Replaces the content with the text's (a byte-order mark says its encoding); never
    // fails, keeps what it cannot read as it was.
    void Parse(std::string_view text);
    // Writes through a temporary file renamed over the old one, in the encoding read.
    bool Save(const std::string& path, std::string* error = nullptr) const;
    // The content as UTF-8 text, without byte-order mark.
    std::string Serialize() const;
    Encoding FileEncoding() const { return encoding_; }

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
        // Each key (lower case) and the line of its first occurrence, built when first
        // needed after a change that moves lines: a group of thousands of keys is then read
        // and written in linear time instead of one scan of the section per key.
        mutable std::unordered_map<std::string, std::size_t> index;
        mutable bool indexed = false;

        const Line* Find(std::string_view key) const;
        void Forget() { indexed = false; }
    };

    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    const Line* FindKey(std::string_view section, std::string_view key) const;

    std::vector<Line> preamble_;  // comments before the first section
    std::vector<Section> sections_;
    Encoding encoding_ = Encoding::Utf8;
};

// UTF-16 (little- or big-endian, without its byte-order mark) to UTF-8 and back; an
// unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
std::string Utf8ToUtf16(std::string_view text, bool bigEndian);

}  // namespace chordella::platform
