#pragma once
// The program without a window (no display to open one on): the same core the window drives
// goes through start-up — the configured ports open, the start-up style loads, the songlist
// opens, the first start plays the demo song — and the control loop runs, taking what a
// second start hands over and what the MIDI inputs play, until SIGINT, SIGTERM or SIGHUP;
// then the exit sequence saves the settings and closes the ports.

#include "app/MainInstance.h"

namespace chordella::desktop {

// Returns the process's exit code (ExitAlreadyRunning when another instance took the file).
// The signature is the command line's runner's; the arguments after the first are unused.
int RunHeadless(const app::InstanceArguments& arguments, int argc, char** argv);

}  // namespace chordella::desktop
