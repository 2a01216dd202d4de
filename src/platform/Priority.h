#pragma once
// Real-time scheduling while playing, the stand-in for the process priority class.

#include <pthread.h>

namespace chordella::platform {

// Any thread: puts `thread` on SCHED_FIFO (on = true) or back to SCHED_OTHER.
// Returns false, and changes nothing, where the system does not permit it.
bool SetThreadRealtime(pthread_t thread, bool on);

// Control thread: the same for the calling thread.
bool SetCurrentThreadRealtime(bool on);

}  // namespace chordella::platform
