#pragma once
// The steps of start-up and exit that belong to other modules (ports, styles, songs,
// windows). The lifecycle calls them in order; the program's wiring fills them in. Each
// has an empty default, so a lifecycle without modules (tests, a headless run) still
// loads and saves the settings, prepares the data home and takes hand-overs.
//
// All of them run on the control thread.

#include <cstdint>
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
    virtual void ApplySettings() {}
    // The style presets: the path of "StylePresets.txt", or empty when there is none
    // (then 10 empty entries).
    virtual void LoadStylePresets(const std::string& /*path*/) {}
    // Loads a style file as the current style; false when it could not be loaded (the
    // style module has shown why).
    virtual bool LoadStyle(const std::string& /*path*/, StyleLoad /*how*/) { return false; }
    // First start only: the update check.
    virtual void CheckForUpdates() {}
    // First start only: opens and plays the demo song.
    virtual void PlayDemoSong(const std::string& /*path*/) {}
    // First start only: the guide window with its text.
    virtual void ShowGuide(const std::string& /*text*/) {}
    // The songlist window opens this list under this caption: the demo list at the first
    // start, the list last used ("SongL") at every later one.
    virtual void OpenSonglist(const std::string& /*path*/, const std::string& /*caption*/) {}
    // Every start: a set-up message for the sound module on the main output.
    virtual void SendSystemExclusive(const std::vector<std::uint8_t>& /*message*/) {}

    // --- Exit, in this order -----------------------------------------------------------
    // Stop, as the transport's Stop does (before the settings are saved).
    virtual void Stop() {}
    // The style playlist is saved (after the settings).
    virtual void SaveStylePlaylist() {}
    // A songlist changed since it was opened or saved is saved to its file (the old one kept
    // as .bak), so a set put together before a gig is not lost by quitting.
    virtual void SaveSonglist() {}
    virtual void CloseWindows() {}
    virtual void ShutDownClock() {}
    virtual void ClosePorts() {}
};

}  // namespace chordella::app
