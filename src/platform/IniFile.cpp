#include "platform/IniFile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <limits>

#include "platform/Files.h"
#include "platform/TextCase.h"

namespace chordella::platform {

namespace {

std::string_view Trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view Unquote(std::string_view s) {
    if (s.size() >= 2 && ((s.front() == '"' && s.back() == '"') || (s.front() == '\'' && s.back() == '\'')))
        return s.substr(1, s.size() - 2);
    return s;
}

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view Utf16BeMark = "\xFE\xFF";

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendUtf16(std::string& out, std::uint32_t code, bool bigEndian) {
    const auto unit = [&](std::uint32_t value) {
        const auto high = static_cast<char>(value >> 8 & 0xFF), low = static_cast<char>(value & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    if (code < 0x10000) {
        unit(code);
    } else {
        code -= 0x10000;
        unit(0xD800 | code >> 10);
        unit(0xDC00 | (code & 0x3FF));
    }
}

// Most of a file's bytes zero but no byte-order mark: UTF-16 (or binary) we cannot tell.
bool LooksLikeUnmarkedWideText(std::string_view text) {
    const auto zeros = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\0'));
    return zeros > 0 && zeros * 4 >= text.size();
}

}  // namespace

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unitAt = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t next = unitAt(i + 2);
            if (next >= 0xDC00 && next < 0xE000) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return out;
}

std::string Utf8ToUtf16(std::string_view text, bool bigEndian) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        std::uint32_t code = 0xFFFD;
        if (length == 1) code = lead;
        if (length > 1 && i + static_cast<std::size_t>(length) <= text.size()) {
            code = lead & (0x7F >> length);
            for (int k = 1; k < length; ++k) code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        AppendUtf16(out, code, bigEndian);
        i += static_cast<std::size_t>(std::max(length, 1));
    }
    return out;
}

bool IniFile::Load(const std::string& path, std::string* error) {
    preamble_.clear();
    sections_.clear();
    std::string text;
    std::string reason;
    if (!ReadTextFile(path, MaxFileBytes, text, reason)) {
        if (error) *error = reason;
        return false;
    }
    if (!text.starts_with(Utf16LeMark) && !text.starts_with(Utf16BeMark) && LooksLikeUnmarkedWideText(text)) {
        if (error) *error = "holds NUL bytes throughout (UTF-16 without a byte-order mark?); it was not read";
        return false;
    }
    Parse(text);
    return true;
}

void IniFile::Parse(std::string_view given) {
    preamble_.clear();
    sections_.clear();
    encoding_ = Encoding::Utf8;
    std::string decoded;
    std::string_view text = given;
    if (given.starts_with(Utf8Mark)) {
        encoding_ = Encoding::Utf8WithMark;
        text.remove_prefix(Utf8Mark.size());
    } else if (given.starts_with(Utf16LeMark) || given.starts_with(Utf16BeMark)) {
        const bool bigEndian = given.starts_with(Utf16BeMark);
        encoding_ = bigEndian ? Encoding::Utf16Be : Encoding::Utf16Le;
        decoded = Utf16ToUtf8(given.substr(2), bigEndian);
        text = decoded;
    }
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        auto& target = sections_.empty() ? preamble_ : sections_.back().lines;
        // What cannot be read stays as it was, to be written back unchanged.
        const auto keepAsItWas = [&] { target.push_back(Line{{}, std::string(raw)}); };
        if (raw.size() > MaxLineLength || raw.find('\0') != std::string_view::npos) {
            keepAsItWas();
            continue;
        }
        const std::string_view line = Trim(raw);

        if (line.empty() || line.front() == ';' || line.front() == '#') {
            target.push_back(Line{{}, std::string(line)});
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) {
                keepAsItWas();  // a broken header is unreadable
                continue;
            }
            sections_.push_back(Section{std::string(Trim(line.substr(1, close - 1))), {}, {}, false});
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string_view key = equals == std::string_view::npos ? line : Trim(line.substr(0, equals));
        if (equals == std::string_view::npos || sections_.empty() || key.empty()) {
            keepAsItWas();
            continue;
        }
        sections_.back().lines.push_back(Line{std::string(key), std::string(Unquote(Trim(line.substr(equals + 1))))});
    }
}

std::string IniFile::Serialize() const {
    std::size_t size = 0;
    for (const Line& line : preamble_) size += line.value.size() + 1;
    for (const Section& section : sections_) {
        size += section.name.size() + 3;
        for (const Line& line : section.lines) size += line.key.size() + line.value.size() + 2;
    }
    std::string out;
    out.reserve(size);
    for (const Line& line : preamble_) out.append(line.value).push_back('\n');
    for (const Section& section : sections_) {
        out.append(1, '[').append(section.name).append("]\n");
        for (const Line& line : section.lines) {
            if (!line.key.empty()) out.append(line.key).push_back('=');
            out.append(line.value).push_back('\n');
        }
    }
    return out;
}

bool IniFile::Save(const std::string& path, std::string* error) const {
    std::string reason;
    std::string text = Serialize();
    if (encoding_ == Encoding::Utf8WithMark) text.insert(0, Utf8Mark);
    if (encoding_ == Encoding::Utf16Le) text = std::string(Utf16LeMark) + Utf8ToUtf16(text, false);
    if (encoding_ == Encoding::Utf16Be) text = std::string(Utf16BeMark) + Utf8ToUtf16(text, true);
    if (!WriteFileAtomically(path, text, reason)) {
        if (error) *error = reason;
        return false;
    }
    return true;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    for (const Section& section : sections_)
        if (SameNoCase(section.name, name)) return &section;
    return nullptr;
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    return const_cast<Section*>(static_cast<const IniFile*>(this)->FindSection(name));
}

const IniFile::Line* IniFile::Section::Find(std::string_view key) const {
    if (!indexed) {
        index.clear();
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (!lines[i].key.empty()) index.try_emplace(LowerCase(lines[i].key), i);
        indexed = true;
    }
    const auto found = index.find(LowerCase(key));
    return found == index.end() ? nullptr : &lines[found->second];
}

const IniFile::Line* IniFile::FindKey(std::string_view section, std::string_view key) const {
    // Sections of the same name are one section; the first value of a key counts.
    for (const Section& candidate : sections_) {
        if (!SameNoCase(candidate.name, section)) continue;
        if (const Line* line = candidate.Find(key)) return line;
    }
    return nullptr;
}

bool IniFile::Has(std::string_view section, std::string_view key) const { return FindKey(section, key) != nullptr; }

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view fallback) const {
    const Line* line = FindKey(section, key);
    return std::string(line ? std::string_view(line->value) : fallback);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const {
    const Line* line = FindKey(section, key);
    if (!line) return fallback;
    const std::string& text = line->value;
    std::size_t start = 0;
    if (start < text.size() && text[start] == '+') ++start;
    long long value = 0;
    const auto [end, status] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    if (status != std::errc{} || end == text.data() + start) return fallback;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return fallback;
    return static_cast<int>(value);
}

bool IniFile::GetBool(std::string_view section, std::string_view key, bool fallback) const {
    return GetInt(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    // The key that reads answer with, in whichever block of the section it stands.
    if (const Line* existing = FindKey(section, key)) {
        const_cast<Line*>(existing)->value = std::string(value);
        return;
    }
    Section* target = FindSection(section);
    if (!target) {
        sections_.push_back(Section{std::string(section), {}, {}, false});
        target = &sections_.back();
    }
    // New keys go after the last key, before trailing blank lines.
    auto at = target->lines.end();
    while (at != target->lines.begin() && std::prev(at)->key.empty() && std::prev(at)->value.empty()) --at;
    const auto line = static_cast<std::size_t>(at - target->lines.begin());
    target->lines.insert(at, Line{std::string(key), std::string(value)});
    // Only blank lines moved, and they hold no key: the index stays right with the new key in it.
    if (target->indexed) target->index.try_emplace(LowerCase(key), line);
}

void IniFile::SetInt(std::string_view section, std::string_view key, int value) {
    SetString(section, key, std::to_string(value));
}

void IniFile::SetBool(std::string_view section, std::string_view key, bool value) {
    SetString(section, key, value ? "1" : "0");
}

void IniFile::EraseKey(std::string_view section, std::string_view key) {
    for (Section& candidate : sections_) {
        if (!SameNoCase(candidate.name, section)) continue;
        candidate.Forget();
        std::erase_if(candidate.lines, [&](const Line& line) { return !line.key.empty() && SameNoCase(line.key, key); });
    }
}

void IniFile::EraseSection(std::string_view section) {
    std::erase_if(sections_, [&](const Section& s) { return SameNoCase(s.name, section); });
}

std::vector<std::string> IniFile::Sections() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) {
        bool seen = false;
        for (const auto& name : names) seen = seen || SameNoCase(name, section.name);
        if (!seen) names.push_back(section.name);
    }
    return names;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    for (const Section& candidate : sections_) {
        if (!SameNoCase(candidate.name, section)) continue;
        for (const Line& line : candidate.lines)
            if (!line.key.empty()) keys.push_back(line.key);
    }
    return keys;
}

}  // namespace chordella::platform
