#include "platform/Priority.h"

#include <sched.h>

namespace chordella::platform {

namespace {
// High enough to run before ordinary work, below the audio threads of JACK (usually 70+).
constexpr int RealtimePriority = 40;
}  // namespace

bool SetThreadRealtime(pthread_t thread, bool on) {
    sched_param param{};
    param.sched_priority = on ? RealtimePriority : 0;
    return pthread_setschedparam(thread, on ? SCHED_FIFO : SCHED_OTHER, &param) == 0;
}

bool SetCurrentThreadRealtime(bool on) { return SetThreadRealtime(pthread_self(), on); }

}  // namespace chordella::platform
