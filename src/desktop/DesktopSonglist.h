#pragma once
// The songlist and song player of the desktop: the list the window shows, the player that
// plays it, the timer that moves the player on, and the list remembered in the settings
// ("SongL"). The window's requests arrive here through the core.
//
// Control thread only.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "app/DisplaySnapshot.h"
#include "desktop/SonglistRequests.h"
#include "platform/EventLoop.h"

namespace chordella::library {
class Songlist;
class SongPlayer;
}  // namespace chordella::library

namespace chordella::app { struct AppState; }
namespace chordella::core { class Session; }

namespace chordella::desktop {

class DesktopSonglist {
public:
    static constexpr std::chrono::milliseconds PollPeriod{20};

    DesktopSonglist(core::Session& session, app::AppState& app);
    ~DesktopSonglist();
    DesktopSonglist(const DesktopSonglist&) = delete;
    DesktopSonglist& operator=(const DesktopSonglist&) = delete;

    // Start-up: the list opens without a question; a damaged list is reported.
    void Open(const std::string& path);
    void Handle(const SonglistRequest& request);
    SonglistView View() const;
    // Moves whenever the list, the queue or the player changed (the window re-reads then).
    std::uint64_t Serial() const { return serial_; }
    // The title of the song that comes next (empty when none), for the main window's
    // display; kept up to date on every change, so reading it allocates nothing.
    const app::FixedText<64>& NextTitle() const { return nextTitle_; }
    // Space on the songlist window: the next song starts, or the one loaded starts playing.
    library::SongPlayer& Player() { return *player_; }
    library::Songlist& List() { return *list_; }

private:
    void Changed();

    core::Session& session_;
    app::AppState& app_;
    std::unique_ptr<library::Songlist> list_;
    std::unique_ptr<library::SongPlayer> player_;
    platform::EventLoop::TimerId timer_ = 0;
    std::uint64_t serial_ = 0;
    app::FixedText<64> nextTitle_;
};

}  // namespace chordella::desktop
