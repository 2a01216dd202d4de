#pragma once
// A style playlist that is not there: every addition fails with the message the window shows
// when the playlist cannot be reached, and the window cannot be shown. For the style
// manager's tests that have no playlist.

#include <string>
#include <vector>

#include "core/StylePlaylistLink.h"

namespace chordella::testing {

class AbsentPlaylist final : public core::StylePlaylistLink {
public:
    int AppendStyles(const std::vector<std::string>& /*paths*/, const std::string& /*description*/,
                     std::string& error) override {
        error = core::PlaylistNotShownMessage;
        return 0;
    }
    bool ShowPlaylist() override { return false; }
};

}  // namespace chordella::testing
