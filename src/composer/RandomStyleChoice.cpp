#include "composer/RandomStyleChoice.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Random.h"
#include "platform/TextCase.h"

namespace chordella::composer {

namespace {

bool IsOwnStyleFile(const std::string& path) {
    const std::string lower = platform::LowerCase(path);
    return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".vxs") == 0;
}

}  // namespace

std::vector<std::string> StylesFolderList::Entries() const {
    std::vector<std::string> paths;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && IsOwnStyleFile(it->path().string())) paths.push_back(it->path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

int RandomStyleChoice::DrawIndex(StyleListLink& list, int count, platform::Random& random) const {
    const StyleListKind kind = list.Kind();
    int index = -1;
    if (kind == StyleListKind::Playlist) index = list.FindNext();
    if (index < 0 && kind != StyleListKind::StyleManagerGroup && list.NextTicked()) index = list.SelectedIndex() + 1;
    if (index < 0) {
        const int half = count / 2;
        index = upperHalf_ ? half + random.Below(count - half) : random.Below(half);
    }
    if (index >= count) index = kind == StyleListKind::StyleManagerGroup ? count - 1 : 0;
    return index;
}

std::string RandomStyleChoice::Choose(StyleListLink& list, StyleLoadLink& loader, platform::Random& random,
                                      bool withBassTrack) {
    if (skip_) {
        skip_ = false;
        return {};
    }
    const std::vector<std::string> entries = list.Entries();
    if (entries.empty()) return {};
    const int count = static_cast<int>(entries.size());
    std::string loaded;
    for (int draw = 0; draw < MaxStyleDraws; ++draw) {
        const int index = DrawIndex(list, count, random);
        const std::string& path = entries[static_cast<std::size_t>(index)];
        if (list.Kind() == StyleListKind::StyleManagerFiles && platform::LowerCase(path).find("want more !!!") != std::string::npos) {
            continue;
        }
        const StyleLoadOutcome outcome = loader.LoadChosenStyle(path);
        list.ShowChosen(index);
        if (!outcome.Loaded) continue;
        loaded = path;
        if (outcome.HasMaterial) upperHalf_ = !upperHalf_;
        const bool again = (withBassTrack && !outcome.HasBassTrack) || (IsOwnStyleFile(path) && !outcome.HasMaterial);
        if (!again || loader.EscapePressed()) break;
    }
    return loaded;
}

}  // namespace chordella::composer
