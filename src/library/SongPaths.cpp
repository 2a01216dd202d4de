#include "library/SongPaths.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/Files.h"
#include "platform/TextCase.h"

namespace chordella::library {

namespace {

std::vector<std::string_view> Parts(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/' || path[i] == '\\') {
            if (i > start) parts.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

// The entry of `folder` named `name` in any case; the exact name wins.
std::optional<std::string> ChildNoCase(const std::string& folder, std::string_view name) {
    const std::string exact = folder + "/" + std::string(name);
    std::error_code error;
    if (std::filesystem::exists(exact, error)) return exact;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string child = it->path().filename().string();
        if (platform::SameNoCase(child, name)) return folder + "/" + child;
    }
    return std::nullopt;
}

std::optional<std::string> BelowNoCase(std::string folder, const std::vector<std::string_view>& parts,
                                       std::size_t from) {
    for (std::size_t i = from; i < parts.size(); ++i) {
        if (parts[i] == "." || parts[i] == "..") return std::nullopt;  // stay inside the folder
        auto child = ChildNoCase(folder, parts[i]);
        if (!child) return std::nullopt;
        folder = *child;
    }
    return platform::FileExists(folder) ? std::optional<std::string>(folder) : std::nullopt;
}

}  // namespace

std::optional<std::string> FindSongFile(std::string_view storedPath, const platform::Paths& paths,
                                        const std::string& listFolder) {
    if (storedPath.empty()) return std::nullopt;
    if (!listFolder.empty()) {
        const std::string asStored(storedPath);
        if (platform::FileExists(asStored)) return asStored;
        const std::string forward = platform::WithForwardSlashes(storedPath);
        if (platform::FileExists(forward)) return forward;
        const std::vector<std::string_view> parts = Parts(storedPath);
        if (!parts.empty())
            if (auto beside = BelowNoCase(listFolder, parts, parts.size() - 1)) return beside;
    }
    return FindStoredFile(storedPath, paths.Songs(), "SONGS");
}

std::optional<std::string> FindStoredFile(std::string_view storedPath, const std::string& folder,
                                          std::string_view folderName) {
    if (storedPath.empty()) return std::nullopt;
    const std::string asStored(storedPath);
    if (platform::FileExists(asStored)) return asStored;
    const std::string forward = platform::WithForwardSlashes(storedPath);
    if (platform::FileExists(forward)) return forward;
    return FindBelowFolder(storedPath, folderName, folder);
}

std::optional<std::string> FindBelowFolder(std::string_view storedPath, std::string_view folderName,
                                           const std::string& folder) {
    const std::vector<std::string_view> parts = Parts(storedPath);
    if (parts.empty()) return std::nullopt;
    for (std::size_t i = parts.size() - 1; i-- > 0;) {
        if (!platform::SameNoCase(parts[i], folderName)) continue;
        if (auto found = BelowNoCase(folder, parts, i + 1)) return found;
        break;
    }
    return BelowNoCase(folder, parts, parts.size() - 1);
}

bool IsArrangementFileName(std::string_view path) {
    const std::string_view name = platform::FileNamePart(path);
    return name.size() > 4 && platform::SameNoCase(name.substr(name.size() - 4), ".vxa");
}

bool IsSongFileName(std::string_view path) {
    const std::string_view name = platform::FileNamePart(path);
    return name.size() > 4 &&
           (platform::SameNoCase(name.substr(name.size() - 4), ".vxa") || platform::SameNoCase(name.substr(name.size() - 4), ".mid"));
}

}  // namespace chordella::library
