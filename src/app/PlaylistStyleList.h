#pragma once
// The style playlist as the list the random style choice draws from: the search result
// the playlist window shows, its "Next" and its "Find" with the expression of "Find ...".
// The desktop hands it to the song creator while the playlist's "Random" is ticked.
//
// Control thread only.

#include <string>
#include <vector>

#include "composer/RandomStyleChoice.h"

namespace chordella::library { class StylePlaylist; }

namespace chordella::app {

class PlaylistStyleList final : public composer::StyleListLink {
public:
    explicit PlaylistStyleList(library::StylePlaylist& playlist) : playlist_(playlist) {}

    composer::StyleListKind Kind() const override { return composer::StyleListKind::Playlist; }
    // The files of the search result, found on this machine where they moved (Windows
    // paths, another data home); a path not found is given as stored, and loading it fails.
    std::vector<std::string> Entries() const override;
    bool NextTicked() const override;
    int SelectedIndex() const override;
    // With "Find" ticked and an expression: the next match after the selected line, from
    // the top again when none follows; −1 otherwise.
    int FindNext() override;
    void ShowChosen(int index) override;

private:
    library::StylePlaylist& playlist_;
};

}  // namespace chordella::app
