#pragma once
// The user's options, read at the moment of use. Each field carries, as its comment, the
// caption the user sees; the configuration file reads and writes them.

namespace chordella::app {

struct Options {
    bool TryToOptimizeTiming = true;     // "Try to optimize timing" (style creator)
    bool DontGetMetrumFromFile = false;  // "Don't get metrum from file" (style creator)
    bool Progressbars = true;            // "Progressbars" (main window)
};

}  // namespace chordella::app
