#pragma once
// Real-time scheduling while playing, the stand-in for the process priority class. Asked
// for the way Linux audio programs ask for it as a normal user:
//   1. SCHED_FIFO at once (root, CAP_SYS_NICE, or a soft RLIMIT_RTPRIO already high enough);
//   2. else the soft RLIMIT_RTPRIO raised up to the hard limit the system grants (the audio
//      group's "rtprio" line in /etc/security/limits.d) and SCHED_FIFO at what it allows;
//   3. else RealtimeKit over the system D-Bus (where the program was built with sd-bus);
//   4. else nothing: the thread stays as it was, and RealtimeDeniedNotice says how to get it.

#include <pthread.h>
#include <sys/types.h>

#include <string_view>

namespace chordella::platform {

enum class RealtimeWay {
    Off,           // asked to leave real time: back to SCHED_OTHER
    Direct,        // SCHED_FIFO was permitted at once
    RaisedLimit,   // permitted after raising the soft RLIMIT_RTPRIO to the granted hard limit
    RealtimeKit,   // granted by RealtimeKit (its policy, usually SCHED_RR; a thread that runs
                   // past half its real-time CPU limit without sleeping is put back to normal)
    Denied,        // none of them: the thread runs at normal priority
};

// "SCHED_FIFO", "SCHED_FIFO (RLIMIT_RTPRIO)", "real time (RealtimeKit)", "normal (real-time denied)".
std::string_view RealtimeWayName(RealtimeWay way);

// The priority asked for: high enough to run before ordinary work, below the audio threads
// of JACK (usually 70+). A granted limit below it gives that limit.
inline constexpr int RealtimePriority = 40;

// For a status line (at most 96 characters), and the whole notice with the way to get it.
inline constexpr std::string_view RealtimeDeniedStatus =
    "No real-time priority: join the audio group with an rtprio limit, or run RealtimeKit";
inline constexpr std::string_view RealtimeDeniedNotice =
    "No real-time priority: ticks may come late under load. Put your user in the audio group with "
    "an rtprio limit (\"@audio - rtprio 95\" in /etc/security/limits.d/audio.conf, then log in again) "
    "or run RealtimeKit.";

// Any thread: puts `thread` (kernel thread id `tid`, needed by RealtimeKit; 0 = unknown) on
// SCHED_FIFO (on = true) or back to SCHED_OTHER.
RealtimeWay SetThreadRealtime(pthread_t thread, pid_t tid, bool on);

// The same for the calling thread.
RealtimeWay SetCurrentThreadRealtime(bool on);

// What a thread of this process would get, found on a short-lived thread of its own;
// changes no thread that lives on (it may raise the soft RLIMIT_RTPRIO).
RealtimeWay ProbeRealtime();

// Whether any request of this process was denied.
bool RealtimeWasDenied();

// True exactly once per process: the first time after real time was denied, so the
// notice is shown once.
bool TakeRealtimeDeniedNotice();

}  // namespace chordella::platform
