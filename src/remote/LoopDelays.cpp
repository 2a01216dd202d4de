#include "platform/EventLoop.h"
#include "remote/DelayLink.h"

namespace chordella::remote {

DelayLink::Id LoopDelays::After(std::chrono::milliseconds delay, std::function<void()> task) {
    return loop_.StartTimer(delay, false, std::move(task));
}

void LoopDelays::Cancel(Id id) { loop_.StopTimer(id); }

}  // namespace chordella::remote
