#pragma once
// tick_latency --gui: the ticks are measured on the control thread of the real desktop host
// (its snapshot publishing running, the demo song playing on the core's own clock through
// an in-memory output) while the window, drawn off-screen, is resized and repainted as fast
// as the GUI thread can — in turns of a few seconds in the normal view and in the stage
// view, so that both meet the same machine load.

#include <cstddef>
#include <vector>

#include "TickSample.h"

struct ViewSamples {
    std::vector<TickSample> samples;  // the ticks measured while this view was shown
    long repaints = 0;                // the window's repaints meanwhile
};

// Runs until `ticks` ticks at `bpm` were measured in each view; false when the window could
// not be made.
bool MeasureWithWindow(int bpm, std::size_t ticks, bool realtime, ViewSamples& normal, ViewSamples& stage);
