#pragma once
// The style playlist of the desktop: the lists the "Style-Playlist" window shows, opened at
// start-up and saved at exit, and the playlist's part in the random style choice of the
// song creator (while "Random" is ticked the creator draws from the search result).
//
// Control thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/StylePlaylistLink.h"
#include "desktop/PlaylistRequests.h"

namespace chordella::core { class Session; }
namespace chordella::library { class StylePlaylist; }

namespace chordella::app {
struct AppState;
class PlaylistStyleList;
class SongCreator;
}  // namespace chordella::app

namespace chordella::desktop {

class DesktopPlaylist final : public core::StylePlaylistLink {
public:
    DesktopPlaylist(core::Session& session, app::AppState& app, app::SongCreator& creator);
    ~DesktopPlaylist() override;
    DesktopPlaylist(const DesktopPlaylist&) = delete;
    DesktopPlaylist& operator=(const DesktopPlaylist&) = delete;

    // Start-up: the current playlist ("StylePlayList.gen"), the favourites, and the search
    // the settings kept ("SlText"). A damaged list is reported and left as it is on disk.
    void Open();
    // Exit: the current playlist is written to its file.
    void Save();
    // "Random" of the window: the song creator's random style comes from the search result.
    void SetRandom(bool on);

    // One request of the window, answered with the lists as they are afterwards.
    PlaylistView Handle(const PlaylistRequest& request);
    PlaylistView View() const;
    // The style file of the result line `index` on this machine; nullopt when not found.
    std::optional<std::string> FileAt(int index) const;

    library::StylePlaylist& Lists() { return *playlist_; }
    // A style was loaded from the window: it leads the "Recent style" list.
    void NoteLoaded(const std::string& file);
    static constexpr std::size_t RecentStyles = 10;

    // The style manager's "Add listed files": a line per readable file; the ones that
    // cannot be read are named in `error` when none could be added.
    int AppendStyles(const std::vector<std::string>& paths, const std::string& description,
                     std::string& error) override;
    // The window is opened by the window itself (its menu item); the core cannot show it.
    bool ShowPlaylist() override { return false; }

private:
    // An empty playlist with no file yet gets the styles of the data home's styles folder.
    // True when it got some.
    bool OfferHomeStyles();
    std::string Maintain(const PlaylistRequest& request);
    std::string Change(const PlaylistRequest& request);
    std::string Export(const PlaylistRequest& request, PlaylistView& view);

    core::Session& session_;
    app::AppState& app_;
    app::SongCreator& creator_;
    std::unique_ptr<library::StylePlaylist> playlist_;
    std::unique_ptr<app::PlaylistStyleList> randomSource_;
    bool opened_ = false;
    std::vector<std::string> recent_;
};

}  // namespace chordella::desktop
