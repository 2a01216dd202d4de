#pragma once
// The steps of start-up and exit that belong to other modules (ports, styles, songs,
// windows). The lifecycle calls them in order; the desktop core implements every one, for
// the window and the program run without one alike.
//
// All of them run on the control thread.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace chordella::app {

enum class StyleLoad {
    StartupDefault,  // "cont1.vxs" at every start: the style directory stays, Intro is
                     // selected and playback is stopped
    HandedOver,      // the argument a second start handed over
    CommandLine,     // the argument this start was given
};

class LifecycleLink {
public:
    virtual ~LifecycleLink() = default;

    // --- Start-up, in this order -------------------------------------------------------
    // The settings are in AppState (options and config): open the configured ports and
    // apply what the controls own (keyboard layout, meter, devices).
    virtual void ApplySettings() = 0;
    // The style presets: the path of "StylePresets.txt", or empty when there is none
    // (then 10 empty entries).
    virtual void LoadStylePresets(const std::string& path) = 0;
    // Loads a style file as the current style; false when it could not be loaded (the
    // style module has shown why).
    virtual bool LoadStyle(const std::string& path, StyleLoad how) = 0;
    // First start only: the update check.
    virtual void CheckForUpdates() = 0;
    // First start only: opens and plays the demo song.
    virtual void PlayDemoSong(const std::string& path) = 0;
    // First start only: the guide window with its text.
    virtual void ShowGuide(const std::string& text) = 0;
    // The songlist window opens this list under this caption: the demo list at the first
    // start, the list last used ("SongL") at every later one.
    virtual void OpenSonglist(const std::string& path, const std::string& caption) = 0;
    // Every start: a set-up message for the sound module on the main output.
    virtual void SendSystemExclusive(const std::vector<std::uint8_t>& message) = 0;

    // --- Before exit, while the window is still open ----------------------------------
    // Unsaved documents are offered for saving (the style creator's work); `done` gets
    // false when the user cancels, and the program then stays.
    virtual void OfferUnsavedWork(std::function<void(bool proceed)> done) = 0;

    // --- Exit, in this order -----------------------------------------------------------
    // Stop, as the transport's Stop does (before the settings are saved).
    virtual void Stop() = 0;
    // The style playlist is saved (after the settings).
    virtual void SaveStylePlaylist() = 0;
    // A songlist changed since it was opened or saved is saved to its file (the old one kept
    // as .bak), so a set put together before a gig is not lost by quitting.
    virtual void SaveSonglist() = 0;
    virtual void CloseWindows() = 0;
    virtual void ShutDownClock() = 0;
    virtual void ClosePorts() = 0;
};

}  // namespace chordella::app
