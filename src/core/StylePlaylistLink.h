#pragma once
// The style playlist as the style manager uses it: the files the manager lists are appended
// to the current playlist, and the count label opens the playlist's window. The playlist
// implements it; until one is connected, UnconnectedStylePlaylist() answers every call with
// a message, so a missing connection shows instead of doing nothing.
//
// Control thread.

#include <string>
#include <string_view>
#include <vector>

namespace chordella::core {

class StylePlaylistLink {
public:
    virtual ~StylePlaylistLink() = default;
    // Appends the style files (full paths, in this order) to the current playlist, one
    // playlist line each with this description. Returns how many were added; on failure 0
    // with the reason in `error` (a text ending in " !" the caller shows).
    virtual int AppendStyles(const std::vector<std::string>& paths, const std::string& description,
                             std::string& error) = 0;
    // Shows the "Style-Playlist" window. False when there is none to show.
    virtual bool ShowPlaylist() = 0;
};

// The playlist that is not there.
class NoStylePlaylist final : public StylePlaylistLink {
public:
    static constexpr std::string_view Message = "The Style-Playlist is not available !";
    int AppendStyles(const std::vector<std::string>& /*paths*/, const std::string& /*description*/,
                     std::string& error) override {
        error = Message;
        return 0;
    }
    bool ShowPlaylist() override { return false; }
};

// The one unconnected playlist; a style manager made without a playlist uses it.
inline StylePlaylistLink& UnconnectedStylePlaylist() {
    static NoStylePlaylist none;
    return none;
}
inline bool IsConnected(const StylePlaylistLink& link) { return &link != &UnconnectedStylePlaylist(); }

}  // namespace chordella::core
