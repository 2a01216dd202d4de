#pragma once
// Monotonic time, the stand-in for the millisecond tick count.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace chordella::platform {

// Any thread: microseconds on CLOCK_MONOTONIC since an arbitrary start.
std::int64_t NowMicros();
// Any thread: milliseconds on the same clock.
std::int64_t NowMillis();

// Where a timer reads the time and waits. The real one waits on CLOCK_MONOTONIC to an
// absolute due time; tests inject a virtual one that jumps to the due time at once.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual std::int64_t NowMicros() = 0;
    // Waits, with `lock` held on entry and exit, until the time reaches dueMicros or until
    // `wake` is notified and `stop()` holds. Returns true when stopped early.
    virtual bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                           std::int64_t dueMicros, const std::function<bool()>& stop) = 0;
};

// The process-wide monotonic clock. Stateless, so sharing it is safe.
TimeSource& SystemTime();

}  // namespace chordella::platform
