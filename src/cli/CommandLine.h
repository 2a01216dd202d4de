#pragma once
// The `chordella` command line: global flags, the command table, exit codes
// (0 success, 1 user error with a one-line message, 2 usage).

#include "app/MainInstance.h"

namespace chordella::cli {

// Runs the program with its window (no command given and a display present); returns the
// process's exit code.
using DesktopRunner = int (*)(const app::InstanceArguments& arguments, int argc, char** argv);

// `desktop` is null where no window can be opened: the program then runs without one.
int RunCommandLine(int argc, char** argv, DesktopRunner desktop);

}  // namespace chordella::cli
