// The batch modes, the answers to the questions before a run, the naming rules and the
// input lists.
#include "app/BatchRun.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "library/PlaylistLine.h"
#include "library/StylePlaylist.h"
#include "platform/TextCase.h"

namespace chordella::app {

namespace fs = std::filesystem;

const std::vector<BatchModeInfo>& BatchModes() {
    static const std::vector<BatchModeInfo> modes = {
        {BatchMode::Convert, "convert", "Convert and normalize all *.sty styles", true, false, true},
        {BatchMode::DeleteBassless, "delete-bassless", "Delete all *.vxs styles without bass track", true, true, false},
        {BatchMode::Check, "check", "Check all *.vxs styles", false, false, false},
        {BatchMode::Normalize, "normalize", "Normalize all *.vxs styles", true, false, false},
        {BatchMode::Refresh, "refresh", "Refresh and normalize all *.vxs styles", true, false, false},
        {BatchMode::Add, "add", "Add all styles to style playlist", false, false, false},
        {BatchMode::Tag, "tag", "Add instrument infos to playlist", false, false, false},
        {BatchMode::Songs, "songs", "Create random chord progressions", false, false, false},
    };
    return modes;
}

const BatchModeInfo& InfoOf(BatchMode mode) {
    for (const BatchModeInfo& info : BatchModes())
        if (info.Mode == mode) return info;
    return BatchModes().front();
}

std::optional<BatchMode> BatchModeNamed(std::string_view name) {
    for (const BatchModeInfo& info : BatchModes())
        if (info.Name == name) return info.Mode;
    return std::nullopt;
}

std::string ClearPlaylistQuestion(int entries) {
    return "The current playlist contains " + std::to_string(entries) + " entries. \n\r\n\r" +
           "Should it be cleared before styles are added ?";
}

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) text.remove_suffix(1);
    return text;
}

std::optional<long> WholeNumber(std::string_view typed) {
    typed = Trimmed(typed);
    long value = 0;
    const auto [end, fault] = std::from_chars(typed.data(), typed.data() + typed.size(), value);
    if (fault != std::errc() || end != typed.data() + typed.size() || typed.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int> ParseSetCount(std::string_view typed) {
    const std::optional<long> value = WholeNumber(typed);
    if (!value || *value < 1 || *value > 6) return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<int> ParseSongCount(std::string_view typed) {
    const std::optional<long> value = WholeNumber(typed);
    if (!value || *value < 1) return std::nullopt;
    return static_cast<int>(std::min<long>(*value, 50));
}

std::string DescriptionFromFolder(std::string_view path) {
    std::string folder = platform::LowerCase(platform::WithForwardSlashes(path));
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos) return {};
    folder.resize(slash + 1);
    if (const std::size_t vxs = folder.find("/vxs/"); vxs != std::string::npos) folder.resize(vxs);
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    std::string name = folder.substr(folder.rfind('/') == std::string::npos ? 0 : folder.rfind('/') + 1);
    if (const std::size_t colon = name.find(':'); colon != std::string::npos && colon + 1 == name.size()) return {};
    if (name.size() > 14) {
        std::size_t cut = 14;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // not inside a UTF-8 letter
        name.resize(cut);
    }
    if (!name.empty()) name[0] = platform::UpperAscii(name[0]);
    return name;
}

std::string ConvertedName(std::string_view foreignFile, int set, std::string_view description) {
    std::string name = fs::path(std::string(platform::FileNamePart(foreignFile))).stem().string();
    name += "-" + std::to_string(set);
    std::string extra(Trimmed(description));
    for (char& c : extra)
        if (c == '/' || c == '\\' || c == '\0' || c == ':' || c == '|') c = '_';
    if (!extra.empty()) name += "-" + extra;
    return name + ".vxs";
}

namespace {

bool TakesFile(BatchMode mode, std::string_view path) {
    switch (mode) {
    case BatchMode::Convert: return library::IsStyleFileName(path) && !library::IsOwnStyleFileName(path);
    case BatchMode::Add:
    case BatchMode::Tag: return library::IsStyleFileName(path);
    case BatchMode::Songs: return false;
    default: return library::IsOwnStyleFileName(path);
    }
}

}  // namespace

std::vector<std::string> BatchInputsFromFolder(const std::string& folder, BatchMode mode, std::string* error) {
    std::vector<std::string> files;
    std::error_code fault;
    if (!fs::is_directory(folder, fault)) {
        if (error != nullptr) *error = folder + ": no such folder";
        return files;
    }
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied, fault);
    for (; !fault && walk != fs::recursive_directory_iterator(); walk.increment(fault)) {
        std::error_code kindFault;
        if (!walk->is_regular_file(kindFault)) continue;
        const std::string path = walk->path().string();
        if (TakesFile(mode, path)) files.push_back(path);
    }
    if (fault && error != nullptr) *error = folder + ": " + fault.message();
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> BatchInputsFromPlaylist(const library::StylePlaylist& playlist, BatchMode mode,
                                                 std::vector<std::string>* missing) {
    std::vector<std::string> files;
    for (const std::string& line : playlist.List(library::StyleListKind::Playlist).Lines) {
        if (!library::IsStyleLine(line)) continue;
        const std::string_view stored = library::LinePath(line);
        if (!TakesFile(mode, stored)) continue;
        const std::optional<std::string> file = playlist.FileOf(line);
        if (!file) {
            if (missing != nullptr) missing->emplace_back(stored);
            continue;
        }
        if (std::find(files.begin(), files.end(), *file) == files.end()) files.push_back(*file);
    }
    return files;
}

}  // namespace chordella::app
