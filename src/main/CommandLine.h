#pragma once
// The `chordella` command line: global flags, the command table, exit codes
// (0 success, 1 user error with a one-line message, 2 usage).

namespace chordella::app {

int RunCommandLine(int argc, char** argv);

}  // namespace chordella::app
