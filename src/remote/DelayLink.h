#pragma once
// Work that runs a little later on the control thread: the second half of a delayed MIDI
// command. One alarm is registered up front; arming it later allocates nothing, so a
// delayed command may start inside a tick (the chord memory's requests). The program rings
// it on the event loop (LoopDelays); a test hands in a clock it advances itself.
//
// Control thread only.

#include <chrono>
#include <functional>

namespace chordella::platform { class EventLoop; }

namespace chordella::remote {

class DelayLink {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~DelayLink() = default;
    // What runs when the alarm rings. Once, before the first Arm (it may allocate).
    virtual void OnAlarm(std::function<void()> ring) = 0;
    // The alarm rings once, `delay` from now; an alarm already set is moved. No allocation.
    virtual void Arm(std::chrono::steady_clock::duration delay) = 0;
    virtual void Disarm() = 0;
    // The time on the clock the alarm follows.
    virtual TimePoint Now() const = 0;
};

// The alarm on the event loop's pre-registered alarms.
class LoopDelays final : public DelayLink {
public:
    explicit LoopDelays(platform::EventLoop& loop) : loop_(loop) {}
    ~LoopDelays() override;
    LoopDelays(const LoopDelays&) = delete;
    LoopDelays& operator=(const LoopDelays&) = delete;

    void OnAlarm(std::function<void()> ring) override;
    void Arm(std::chrono::steady_clock::duration delay) override;
    void Disarm() override;
    TimePoint Now() const override { return std::chrono::steady_clock::now(); }

private:
    platform::EventLoop& loop_;
    int alarm_ = -1;
};

}  // namespace chordella::remote
