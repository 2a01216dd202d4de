#include "app/PlaylistStyleList.h"

#include "library/StylePlaylist.h"

namespace chordella::app {

std::vector<std::string> PlaylistStyleList::Entries() const {
    std::vector<std::string> files;
    for (const std::string& line : playlist_.List(library::StyleListKind::SearchResult).Lines)
        files.push_back(playlist_.FileOf(line).value_or(std::string(library::LinePath(line))));
    return files;
}

bool PlaylistStyleList::NextTicked() const { return playlist_.NextTicked; }

int PlaylistStyleList::SelectedIndex() const { return playlist_.Selected; }

int PlaylistStyleList::FindNext() {
    if (!playlist_.FindTicked || playlist_.FindExpression.empty()) return -1;
    int index = playlist_.FindNext(playlist_.FindExpression, playlist_.Selected);
    if (index < 0) index = playlist_.FindNext(playlist_.FindExpression, -1);
    return index;
}

void PlaylistStyleList::ShowChosen(int index) { playlist_.Selected = index; }

}  // namespace chordella::app
