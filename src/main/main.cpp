// `chordella`: the command line without the window's libraries, so headless commands start
// at once. With no command and a display it hands the process over to `chordella-desktop`
// beside it (same arguments), which opens the window; without a display the program runs
// headless.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "desktop/HeadlessInstance.h"
#include "platform/Paths.h"

namespace {

#ifdef CHORDELLA_DESKTOP
int HandOverToDesktop(const chordella::app::InstanceArguments& /*arguments*/, int argc, char** argv) {
    const std::string self = chordella::platform::ExecutablePath();
    const std::string desktop = self.substr(0, self.find_last_of('/') + 1) + "chordella-desktop";
    std::vector<char*> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    execv(desktop.c_str(), arguments.data());
    // Only reached when the window's program cannot be started.
    std::fprintf(stderr, "chordella: cannot start %s: %s\n", desktop.c_str(), std::strerror(errno));
    return 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef CHORDELLA_DESKTOP
    return chordella::cli::RunCommandLine(argc, argv, &HandOverToDesktop, &chordella::desktop::RunHeadless);
#else
    return chordella::cli::RunCommandLine(argc, argv, nullptr, &chordella::desktop::RunHeadless);
#endif
}
