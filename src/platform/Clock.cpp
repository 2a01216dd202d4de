#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace chordella::platform {

namespace {

class MonotonicTime final : public TimeSource {
public:
    std::int64_t NowMicros() override { return platform::NowMicros(); }
    // steady_clock is CLOCK_MONOTONIC, and the wait is an absolute-time futex wait: as
    // exact as clock_nanosleep (both are hrtimers under the thread's timer slack), but a
    // tempo change or Stop can cut it short instead of waiting out the old period.
    bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                   std::int64_t dueMicros, const std::function<bool()>& stop) override {
        const std::chrono::steady_clock::time_point due{std::chrono::microseconds(dueMicros)};
        return wake.wait_until(lock, due, stop);
    }
};

}  // namespace

std::int64_t NowMicros() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

std::int64_t NowMillis() { return NowMicros() / 1000; }

TimeSource& SystemTime() {
    static MonotonicTime time;
    return time;
}

}  // namespace chordella::platform
