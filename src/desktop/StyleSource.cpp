#include "desktop/StyleSource.h"

#include "desktop/DesktopPlaylist.h"
#include "desktop/DesktopStyleManager.h"
#include "library/StyleManager.h"
#include "library/StylePlaylist.h"

namespace chordella::desktop {

namespace {

void SetManagerRandom(DesktopStyleManager& manager, bool on) {
    StyleManagerRequest request{StyleManagerAction::SetRandom};
    request.On = on;
    manager.Handle(request);
}

}  // namespace

StyleSourceView ChooseStyleSource(StyleSourceRequest request, DesktopPlaylist& playlist, DesktopStyleManager& manager) {
    library::StylePlaylist& lists = playlist.Lists();
    switch (request) {
    case StyleSourceRequest::Read: break;
    case StyleSourceRequest::FromPlaylist:
        // An empty playlist would leave the choice nothing to draw from.
        if (lists.List(library::StyleListKind::Playlist).Lines.empty()) break;
        playlist.SetRandom(true);
        SetManagerRandom(manager, false);
        break;
    case StyleSourceRequest::FromManager:
        playlist.SetRandom(false);
        SetManagerRandom(manager, true);
        break;
    case StyleSourceRequest::RandomOrder: lists.NextTicked = false; break;
    case StyleSourceRequest::InOrder: lists.NextTicked = true; break;
    }
    return {lists.RandomTicked, manager.Manager().RandomTicked(), !lists.NextTicked};
}

}  // namespace chordella::desktop
