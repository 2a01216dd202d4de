#pragma once
// The style playlist as the style manager uses it: the files the manager lists are appended
// to the current playlist, and the count label opens the playlist's window. The playlist
// implements it; the style manager is made with one.
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

// Shown when the playlist's window cannot be opened from where it was asked for.
inline constexpr std::string_view PlaylistNotShownMessage = "The Style-Playlist is not available !";

}  // namespace chordella::core
