#pragma once
// Work that runs a little later on the control thread: the second half of a delayed MIDI
// command. The program runs it on the event loop's timers (LoopDelays); a test hands in
// a clock it advances itself.
//
// Control thread only.

#include <chrono>
#include <cstdint>
#include <functional>

namespace chordella::platform { class EventLoop; }

namespace chordella::remote {

class DelayLink {
public:
    using Id = std::uint64_t;
    virtual ~DelayLink() = default;
    // Runs `task` once, `delay` from now; the loop goes on meanwhile.
    virtual Id After(std::chrono::milliseconds delay, std::function<void()> task) = 0;
    // The task of `id` will not run (nothing when it ran already).
    virtual void Cancel(Id id) = 0;
};

// Delays on the event loop's timers.
class LoopDelays final : public DelayLink {
public:
    explicit LoopDelays(platform::EventLoop& loop) : loop_(loop) {}
    Id After(std::chrono::milliseconds delay, std::function<void()> task) override;
    void Cancel(Id id) override;

private:
    platform::EventLoop& loop_;
};

}  // namespace chordella::remote
