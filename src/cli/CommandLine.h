#pragma once
// The `chordella` command line: global flags, the command table, exit codes
// (0 success, 1 user error with a one-line message, 2 usage).

#include "app/MainInstance.h"

namespace chordella::cli {

// Runs the program itself (no command given); returns the process's exit code.
using ProgramRunner = int (*)(const app::InstanceArguments& arguments, int argc, char** argv);

// `window` opens the window when a display is present; it is null where no window can be
// opened. `headless` runs the program without one.
int RunCommandLine(int argc, char** argv, ProgramRunner window, ProgramRunner headless);

}  // namespace chordella::cli
