#include "library/StylePaths.h"

#include "data/StyleNames.h"
#include "library/SongPaths.h"
#include "platform/Files.h"

namespace chordella::library {

std::optional<std::string> FindStyleEntryFile(std::string_view storedPath, const platform::Paths& paths) {
    if (storedPath.empty()) return std::nullopt;
    const std::string asStored(storedPath);
    if (platform::FileExists(asStored)) return asStored;
    const std::string forward = platform::WithForwardSlashes(storedPath);
    if (platform::FileExists(forward)) return forward;
    if (auto found = FindBelowFolder(storedPath, "STYLES", paths.Styles())) return found;
    std::string found = data::FindStyleFile(asStored, paths.DataDir(), paths.Styles());
    if (found.empty()) return std::nullopt;
    return found;
}

}  // namespace chordella::library
