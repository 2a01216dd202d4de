#include "platform/EventLoop.h"
#include "remote/DelayLink.h"

#include <stdexcept>

namespace chordella::remote {

LoopDelays::~LoopDelays() { loop_.RemoveAlarm(alarm_); }

void LoopDelays::OnAlarm(std::function<void()> ring) {
    loop_.RemoveAlarm(alarm_);
    alarm_ = loop_.AddAlarm(std::move(ring));
    // Without an alarm a delayed half would wait until the commands go away.
    if (alarm_ < 0) throw std::runtime_error("the event loop has no free alarm for the delayed MIDI commands");
}

void LoopDelays::Arm(std::chrono::steady_clock::duration delay) { loop_.SetAlarm(alarm_, delay); }

void LoopDelays::Disarm() { loop_.ClearAlarm(alarm_); }

}  // namespace chordella::remote
