#pragma once
// tick_latency --gui: the ticks are measured on the control thread of the real desktop host
// (its snapshot publishing running, the demo song playing on the core's own clock through
// an in-memory output) while the window, drawn off-screen, is resized and repainted as fast
// as the GUI thread can.

#include <cstddef>
#include <vector>

#include "TickSample.h"

// Runs until `ticks` ticks at `bpm` were measured; false when the window could not be made.
// `repaints` counts the window's repaints meanwhile.
bool MeasureWithWindow(int bpm, std::size_t ticks, bool realtime, std::vector<TickSample>& samples,
                       long& repaints);
