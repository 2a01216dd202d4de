#pragma once
// The program with its desktop window: one instance per user (a second start hands its
// file over and ends, as without a window), the core on its control thread, the window on
// this thread until "Exit" or the window is closed, then the exit sequence.
//
// Called on the main thread; returns the process's exit code.

#include "app/MainInstance.h"

namespace chordella::ui {

int RunDesktop(const app::InstanceArguments& arguments, int argc, char** argv);

}  // namespace chordella::ui
