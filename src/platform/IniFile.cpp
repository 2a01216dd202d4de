#include "platform/IniFile.h"

#include <charconv>
#include <iterator>
#include <limits>

#include "platform/Files.h"

namespace chordella::platform {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

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

}  // namespace

bool IniFile::Load(const std::string& path, std::string* error) {
    preamble_.clear();
    sections_.clear();
    std::string text;
    std::string reason;
    if (!ReadTextFile(path, MaxFileBytes, text, reason)) {
        if (error) *error = reason;
        return false;
    }
    Parse(text);
    return true;
}

void IniFile::Parse(std::string_view text) {
    preamble_.clear();
    sections_.clear();
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (raw.size() > MaxLineLength || raw.find('\0') != std::string_view::npos) continue;
        const std::string_view line = Trim(raw);
        auto& target = sections_.empty() ? preamble_ : sections_.back().lines;

        if (line.empty() || line.front() == ';' || line.front() == '#') {
            target.push_back(Line{{}, std::string(line)});
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) continue;  // a broken header is unreadable
            sections_.push_back(Section{std::string(Trim(line.substr(1, close - 1))), {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || sections_.empty()) continue;
        const std::string_view key = Trim(line.substr(0, equals));
        if (key.empty()) continue;
        sections_.back().lines.push_back(Line{std::string(key), std::string(Unquote(Trim(line.substr(equals + 1))))});
    }
}

std::string IniFile::Serialize() const {
    std::string out;
    for (const Line& line : preamble_) out += line.value + '\n';
    for (const Section& section : sections_) {
        out += '[' + section.name + "]\n";
        for (const Line& line : section.lines) {
            if (line.key.empty())
                out += line.value + '\n';
            else
                out += line.key + '=' + line.value + '\n';
        }
    }
    return out;
}

bool IniFile::Save(const std::string& path, std::string* error) const {
    std::string reason;
    const std::string text = Serialize();
    if (!WriteFileAtomically(path, text, reason)) {
        if (error) *error = reason;
        return false;
    }
    return true;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    for (const Section& section : sections_)
        if (EqualsNoCase(section.name, name)) return &section;
    return nullptr;
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    return const_cast<Section*>(static_cast<const IniFile*>(this)->FindSection(name));
}

const IniFile::Line* IniFile::FindKey(std::string_view section, std::string_view key) const {
    // Sections of the same name are one section; the first value of a key counts.
    for (const Section& candidate : sections_) {
        if (!EqualsNoCase(candidate.name, section)) continue;
        for (const Line& line : candidate.lines)
            if (!line.key.empty() && EqualsNoCase(line.key, key)) return &line;
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
        sections_.push_back(Section{std::string(section), {}});
        target = &sections_.back();
    }
    // New keys go after the last key, before trailing blank lines.
    auto at = target->lines.end();
    while (at != target->lines.begin() && std::prev(at)->key.empty() && std::prev(at)->value.empty()) --at;
    target->lines.insert(at, Line{std::string(key), std::string(value)});
}

void IniFile::SetInt(std::string_view section, std::string_view key, int value) {
    SetString(section, key, std::to_string(value));
}

void IniFile::SetBool(std::string_view section, std::string_view key, bool value) {
    SetString(section, key, value ? "1" : "0");
}

void IniFile::EraseKey(std::string_view section, std::string_view key) {
    for (Section& candidate : sections_) {
        if (!EqualsNoCase(candidate.name, section)) continue;
        std::erase_if(candidate.lines, [&](const Line& line) { return !line.key.empty() && EqualsNoCase(line.key, key); });
    }
}

void IniFile::EraseSection(std::string_view section) {
    std::erase_if(sections_, [&](const Section& s) { return EqualsNoCase(s.name, section); });
}

std::vector<std::string> IniFile::Sections() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) {
        bool seen = false;
        for (const auto& name : names) seen = seen || EqualsNoCase(name, section.name);
        if (!seen) names.push_back(section.name);
    }
    return names;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    for (const Section& candidate : sections_) {
        if (!EqualsNoCase(candidate.name, section)) continue;
        for (const Line& line : candidate.lines)
            if (!line.key.empty()) keys.push_back(line.key);
    }
    return keys;
}

}  // namespace chordella::platform
