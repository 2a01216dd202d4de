#include "library/PlaylistFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "library/SongPaths.h"
#include "platform/Files.h"

namespace chordella::library {

std::vector<std::string> SplitListLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\n' && text[i] != '\r') continue;
        if (i > start) lines.emplace_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return lines;
}

bool ReadListFile(const std::string& path, std::vector<std::string>& lines, std::string& error) {
    std::string text;
    if (!platform::ReadTextFile(path, MaxListFileBytes, text, error)) return false;
    std::vector<std::string> read = SplitListLines(text);
    for (std::size_t n = 0; n < read.size(); ++n) {
        const auto control = std::find_if(read[n].begin(), read[n].end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return (byte < 0x20 && c != '\t') || byte == 0x7F;
        });
        if (control != read[n].end()) {
            error = "not a list of styles: line " + std::to_string(n + 1) + " holds control bytes";
            return false;
        }
    }
    lines = std::move(read);
    return true;
}

bool WriteListFile(const std::string& path, const std::vector<std::string>& lines, std::string& error) {
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return platform::WriteFileAtomically(path, text, error);
}

std::string BackupPathOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".bak";
    return path.substr(0, dot) + ".bak";
}

bool WriteBackup(const std::string& path, const std::vector<std::string>& lines, std::string& error) {
    return WriteListFile(BackupPathOf(path), lines, error);
}

bool AppendListFile(const std::string& path, const std::vector<std::string>& lines, std::string& error) {
    std::vector<std::string> all;
    if (platform::FileExists(path) && !ReadListFile(path, all, error)) return false;
    all.insert(all.end(), lines.begin(), lines.end());
    return WriteListFile(path, all, error);
}

std::optional<std::string> FindStyleFile(std::string_view storedPath, const platform::Paths& paths) {
    return FindStoredFile(storedPath, paths.Styles(), "STYLES");
}

std::optional<std::uintmax_t> StyleFileSize(std::string_view storedPath, const platform::Paths& paths) {
    const std::optional<std::string> found = FindStyleFile(storedPath, paths);
    if (!found) return std::nullopt;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(*found, error);
    if (error) return std::nullopt;
    return size;
}

}  // namespace chordella::library
