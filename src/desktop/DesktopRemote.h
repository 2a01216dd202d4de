#pragma once
// The remote control behind the desktop windows: the requests of the "MIDI Commands" and
// "MIDI Controls" windows carried out on the remote control (sending a row, "Set values"
// with its remote switches, command files, the command port, learning), and the copy of
// its state those windows show.
//
// DesktopRemoteHost answers the remote functions that belong to windows: melody playback,
// a new random song, the chord progression generator, another style, the editor's
// automatic program changes and the songlist's next song.
//
// Control thread only.

#include <functional>
#include <string>

#include "desktop/RemoteRequests.h"
#include "remote/RemoteHostLink.h"

namespace chordella::app { struct AppState; }
namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::remote { class RemoteControl; }

namespace chordella::desktop {

// The messages "Set values" shows.
namespace remote_text {
inline constexpr const char* ValuesStored = "Values are stored !";
inline constexpr const char* DownReturnOn = "Program remote control DOWN/RETURN is activated !";
inline constexpr const char* DownReturnOff = "Program remote control DOWN/RETURN is deactivated !";
inline constexpr const char* PanOn = "Program remote control for PAN is activated !";
inline constexpr const char* PanOff = "Program remote control for PAN is deactivated !";
inline constexpr const char* FirstPresetOn = "Program remote control for \"goto FIRST PRESET\" is activated !";
inline constexpr const char* FirstPresetOff = "Program remote control for \"goto FIRST PRESET\" is deactivated !";
inline constexpr const char* CommandsCaption = "MIDI Commands";
}  // namespace remote_text

class DesktopRemote {
public:
    DesktopRemote(core::Session& session, core::Options& options, remote::RemoteControl& remote);

    // Carries out the request; the view afterwards (with the request's message). A learned
    // binding arrives later: the next Read shows it.
    RemoteView Handle(const RemoteRequest& request);
    RemoteView View() const;

private:
    std::string SetValues(const RemoteRequest& request);
    std::string LoadFile(const std::string& path);
    std::string SaveFile(const std::string& path);
    void SetPort(const std::string& name);
    std::string SaveBindings();

    core::Session& session_;
    core::Options& options_;
    remote::RemoteControl& remote_;
};

// The window functions of the remote control in the desktop program.
struct RemoteHostFunctions {
    std::function<void()> MelodyPlayback;        // 3: melody playback on ↔ off
    std::function<void()> NewSong;               // 12: a completely random song
    std::function<void()> NewChords;             // 13: the chord progression generator
    std::function<void()> NewStyle;              // 14: another style at random
    std::function<void()> NextSong;              // the songlist's next song
};

class DesktopRemoteHost final : public remote::RemoteHostLink {
public:
    DesktopRemoteHost(core::Session& session, app::AppState& app, RemoteHostFunctions functions);
    bool RunHostFunction(int number) override;
    // The main window has no instrument list of its own yet.
    bool SelectInstrument(int /*entry*/) override { return false; }
    bool EditorBusy() override { return false; }

private:
    // 22: the editor's automatic program changes with the editor's settings.
    void InsertProgramChanges();

    core::Session& session_;
    app::AppState& app_;
    RemoteHostFunctions functions_;
};

}  // namespace chordella::desktop
