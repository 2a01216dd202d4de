#include "app/DesktopPlaylist.h"

#include "app/PlaylistStyleList.h"
#include "app/SongCreator.h"
#include "core/Session.h"
#include "library/StylePlaylist.h"
#include "platform/Prompter.h"

namespace chordella::app {

DesktopPlaylist::DesktopPlaylist(core::Session& session, SongCreator& creator)
    : session_(session),
      creator_(creator),
      playlist_(std::make_unique<library::StylePlaylist>(session.Paths())),
      randomSource_(std::make_unique<PlaylistStyleList>(*playlist_)) {}

DesktopPlaylist::~DesktopPlaylist() { SetRandom(false); }

void DesktopPlaylist::Open() {
    std::string error;
    if (!playlist_->OpenCurrent({}, error)) {
        session_.Prompter().Inform(error + " !");
        return;  // not opened: the exit must not write the empty list over the damaged file
    }
    opened_ = true;
    if (!playlist_->OpenFavorites(error)) session_.Prompter().Inform(error + " !");
    core::Options& options = session_.App().options;
    options.StylePlaylistFile = playlist_->List(library::StyleListKind::Playlist).File;
    if (!playlist_->Search(options.StyleSearchText, false, false).Ok) playlist_->Search("*;", false, false);
    const int count = static_cast<int>(playlist_->List(library::StyleListKind::SearchResult).Lines.size());
    if (options.StyleSearchIndex >= 0 && options.StyleSearchIndex < count) playlist_->Selected = options.StyleSearchIndex;
}

void DesktopPlaylist::Save() {
    if (!opened_) return;
    std::string error;
    if (!playlist_->SavePlaylist({}, error)) session_.Prompter().Inform(error + " !");
    session_.App().options.StyleSearchIndex = playlist_->Selected;
}

void DesktopPlaylist::SetRandom(bool on) {
    playlist_->RandomTicked = on;
    creator_.SetStyleList(on ? randomSource_.get() : nullptr);
}

}  // namespace chordella::app
