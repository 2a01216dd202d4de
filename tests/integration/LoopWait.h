#pragma once
// Waiting for a real server: the control loop runs until a condition holds.

#include <chrono>
#include <functional>
#include <thread>

#include "platform/EventLoop.h"

namespace chordella::testing {

// Runs `loop` until `done`; false when two minutes passed first (a loaded machine and a
// sanitizer build are many times slower than a normal one).
inline bool RunUntil(platform::EventLoop& loop, const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        if (!loop.RunPending()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace chordella::testing
