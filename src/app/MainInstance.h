#pragma once
// The program run without a command: one instance per user. A second start hands its file
// to the running one through "CurrentStyle.sty", says "Chordella is already running !"
// and ends with exit code 255. The running one goes through start-up, runs its event loop
// until it is asked to end (the desktop window's Exit, or SIGINT/SIGTERM when it runs
// without a window: desktop/HeadlessInstance.h) and goes through the exit sequence.

#include <optional>
#include <string>
#include <string_view>

namespace chordella::platform {
class Paths;
class Prompter;
class SingleInstance;
}  // namespace chordella::platform

namespace chordella::app {

inline constexpr int ExitAlreadyRunning = 255;
inline constexpr std::string_view AlreadyRunningMessage = "Chordella is already running !";

struct InstanceArguments {
    std::optional<std::string> Home;  // --home DIR
    std::string File;                 // the first parameter, handed over or opened
    bool ResetSettings = false;       // --reset
    bool AssumeYes = false;           // --yes
};

// True when a window can be opened: DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM is set.
bool DisplayAvailable();

// The first step of every start without a command: when another instance runs, the file
// is handed over to it, "Chordella is already running !" is shown and the exit code is
// returned; otherwise `instance` holds the lock and nothing is returned.
std::optional<int> HandOverToRunningInstance(const InstanceArguments& arguments, platform::SingleInstance& instance,
                                             platform::Prompter& prompter, const platform::Paths& paths);

}  // namespace chordella::app
