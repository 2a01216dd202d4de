#pragma once
// Start-up and exit of the program, for the desktop window and the headless run alike.
//
// Start: the data home's folders (SONGS, STYLES, LISTS) are made sure of; on the first
// start (no settings file) the bundled files are copied in; the settings are loaded and
// applied; the style presets are loaded; "STYLES/cont1.vxs" becomes the current style when
// it exists; the first start plays the demo song, shows the guide and opens the demo
// songlist, later starts the songlist last used; a DB50XG module gets its set-up messages; then a timer looks every half second
// for a file another start handed over.
//
// Exit: Stop, the settings are saved, the style playlist is saved, the windows close, the
// clock shuts down, the temporary copy is deleted, the ports close.
//
// Control thread only.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "app/DataHome.h"
#include "app/LifecycleLink.h"
#include "app/Settings.h"
#include "platform/EventLoop.h"

namespace chordella::core { class Session; }
namespace chordella::app {

struct AppState;


struct LifecycleSetup {
    std::string AssetsFolder;      // the bundled files; empty: none
    bool ResetSettings = false;    // the command line's --reset
    // Whether the settings folder is on read-only media; by default the data home decides.
    std::function<bool()> ReadOnlyMedia;
    std::chrono::milliseconds HandOverPoll{500};
};

class Lifecycle {
public:
    static constexpr std::string_view StartupStyle = "cont1.vxs";
    static constexpr std::string_view DemoSong = "demo2.vxa";
    static constexpr std::string_view DemoSonglist = "DEMO.VXL";
    static constexpr std::string_view StylePresets = "StylePresets.txt";
    static constexpr std::string_view TemporaryCopy = "chordella.VX$";
    static constexpr std::string_view GuideText =
        "Hello, this is the first time that you have started Chordella. You should hear the demo song now. If "
        "not, please check your MIDI configuration. Then click on this window and let Chordella take the "
        "settings that you need for various purposes.\r\n\r\nThis little guide will try to accompany you at "
        "work with the software.";

    Lifecycle(core::Session& session, AppState& app, LifecycleLink& hooks, LifecycleSetup setup = {});
    ~Lifecycle();
    Lifecycle(const Lifecycle&) = delete;
    Lifecycle& operator=(const Lifecycle&) = delete;

    void Start();
    // Before the window closes: the exit questions (unsaved documents offered for saving).
    // `done` gets false when the user cancelled; the program then goes on.
    void ConfirmExit(std::function<void(bool proceed)> done);
    // Runs once; a second call does nothing and answers as the first did.
    SaveOutcome Exit();

    // The file this start was given on the command line, opened as a style.
    bool OpenFromCommandLine(const std::string& path);

    // One look for a handed-over file (the timer calls this); true when one was there.
    bool TakeHandOver();

    // The instrument window stores a set text: kept and written to the file at once.
    bool StoreInstrumentSetText(int number, const std::string& text);

    const CopyReport& BundledFilesReport() const { return copied_; }
    bool Started() const { return started_; }

private:
    void FirstStart();
    // Every later start: the songlist last used ("SongL") opens again.
    void OpenLastSonglist();
    bool ReadOnlyMedia() const;

    core::Session& session_;
    AppState& app_;
    LifecycleLink& hooks_;
    LifecycleSetup setup_;
    Settings settings_;
    CopyReport copied_;
    platform::EventLoop::TimerId handOverTimer_ = 0;
    bool started_ = false;
    bool exited_ = false;
    SaveOutcome exitOutcome_ = SaveOutcome::Saved;
};

}  // namespace chordella::app
