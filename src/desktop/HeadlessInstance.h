#pragma once
// The program without a window (no display to open one on): the same core the window drives
// goes through start-up — the configured ports open, the start-up style loads, the songlist
// opens, the first start plays the demo song — and the control loop runs, taking what a
// second start hands over and what the MIDI inputs play, until SIGINT, SIGTERM or SIGHUP;
// then the exit sequence saves the settings and closes the ports.

#include <memory>
#include <string>

#include "app/MainInstance.h"
#include "core/Session.h"

namespace chordella::desktop {

// The session of the program itself, with or without its window: the data home the
// arguments name (beside `executable` when portable), the display's snapshot view, the
// system's MIDI backends, and `prompter` for its questions.
core::SessionParts ProgramSessionParts(const app::InstanceArguments& arguments, const std::string& executable,
                                       std::unique_ptr<platform::Prompter> prompter);

// Returns the process's exit code (ExitAlreadyRunning when another instance took the file).
// The signature is the command line's runner's; the arguments after the first are unused.
int RunHeadless(const app::InstanceArguments& arguments, int argc, char** argv);

}  // namespace chordella::desktop
