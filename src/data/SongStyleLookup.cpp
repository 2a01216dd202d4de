#include "data/SongStyleLookup.h"

#include <algorithm>

#include "platform/Files.h"
#include "platform/TextCase.h"

namespace chordella::data {

std::vector<std::string> SongStyleCandidates(std::string_view storedPath, const platform::Paths& paths) {
    std::vector<std::string> candidates;
    if (storedPath.empty()) return candidates;
    const auto add = [&](std::string path) {
        if (!path.empty() && std::find(candidates.begin(), candidates.end(), path) == candidates.end())
            candidates.push_back(std::move(path));
    };
    add(std::string(storedPath));
    const std::string forward = platform::WithForwardSlashes(storedPath);
    add(forward);

    const std::string lower = platform::LowerCase(forward);
    constexpr std::string_view Home = "/chordella";
    if (const auto at = lower.find(Home); at != std::string::npos) {
        const std::string rest = forward.substr(at + Home.size());
        if (!rest.empty() && rest.front() == '/') add(paths.DataDir() + rest);
    }
    const std::string_view name = platform::FileNamePart(storedPath);
    if (!name.empty()) add(paths.Styles() + "/" + std::string(name));
    return candidates;
}

std::optional<std::string> FindSongStyle(std::string_view storedPath, const platform::Paths& paths) {
    for (const std::string& candidate : SongStyleCandidates(storedPath, paths))
        if (platform::FileExists(candidate)) return candidate;
    return std::nullopt;
}

}  // namespace chordella::data
