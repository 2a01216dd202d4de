#pragma once
// Where the random style choice draws from, as the "PLAY ..." window's pop-up menu sets it:
// "Use styles from the styles playlist", "Use styles from styles manager", "Use random order".
//
// Control thread only.

namespace chordella::desktop {

class DesktopPlaylist;
class DesktopStyleManager;

enum class StyleSourceRequest {
    Read,
    FromPlaylist,        // the playlist's "Random" ticked (only when it has lines), the manager's unticked
    FromManager,         // the reverse
    RandomOrder,         // "Use random order" ticked: the playlist's "Next" unticked
    InOrder,             // "Use random order" unticked: the playlist's "Next" ticked
};

struct StyleSourceView {
    bool FromPlaylist = false;  // the playlist's "Random"
    bool FromManager = false;   // the style manager's "Random"
    bool RandomOrder = true;    // not the playlist's "Next"
};

StyleSourceView ChooseStyleSource(StyleSourceRequest request, DesktopPlaylist& playlist, DesktopStyleManager& manager);

}  // namespace chordella::desktop
