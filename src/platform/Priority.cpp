#include "platform/Priority.h"

#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>

#ifdef CHORDELLA_HAVE_SD_BUS
#include <systemd/sd-bus.h>
#endif

namespace chordella::platform {

namespace {

std::atomic<bool> denied{false};
std::atomic<bool> noticeTaken{false};

bool TrySchedFifo(pthread_t thread, int priority) {
    sched_param param{};
    param.sched_priority = priority;
    return pthread_setschedparam(thread, SCHED_FIFO, &param) == 0;
}

// The soft limit raised to the hard one (as far as we want); the priority it then allows.
int RaiseRtprioLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) != 0 || limit.rlim_max == 0) return 0;
    const rlim_t wanted = std::min<rlim_t>(limit.rlim_max, RealtimePriority);
    if (limit.rlim_cur < wanted) {
        limit.rlim_cur = wanted;
        if (setrlimit(RLIMIT_RTPRIO, &limit) != 0) return 0;
    }
    return static_cast<int>(wanted);
}

#ifdef CHORDELLA_HAVE_SD_BUS
constexpr const char* KitService = "org.freedesktop.RealtimeKit1";
constexpr const char* KitPath = "/org/freedesktop/RealtimeKit1";
constexpr std::uint64_t KitTimeoutMicros = 2'000'000;

// A thread that ran past the soft real-time CPU limit without sleeping (a long file load on
// the control thread) goes back to normal scheduling instead of the hard limit's SIGKILL.
extern "C" void DemoteOnCpuLimit(int) {
    sched_param param{};
    sched_setscheduler(0, SCHED_OTHER, &param);
}

// RealtimeKit answers only threads of processes that limit their real-time CPU time;
// once it is found missing it is not asked again.
bool AskRealtimeKit(pid_t tid) {
    static std::atomic<bool> missing{false};
    if (tid <= 0 || missing.load()) return false;
    sd_bus* bus = nullptr;
    if (sd_bus_open_system(&bus) < 0) {
        missing = true;
        return false;
    }
    bool granted = false;
    std::int32_t most = 0;
    std::int64_t rtTimeMax = 0;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const bool asked =
        sd_bus_get_property_trivial(bus, KitService, KitPath, KitService, "MaxRealtimePriority", &error, 'i', &most) >= 0 &&
        sd_bus_get_property_trivial(bus, KitService, KitPath, KitService, "RTTimeUSecMax", &error, 'x', &rtTimeMax) >= 0;
    sd_bus_error_free(&error);
    if (!asked || most < 1) {
        missing = !asked;
    } else {
        rlimit cpu{static_cast<rlim_t>(rtTimeMax / 2), static_cast<rlim_t>(rtTimeMax)};
        setrlimit(RLIMIT_RTTIME, &cpu);
        struct sigaction demote {};
        demote.sa_handler = DemoteOnCpuLimit;
        sigaction(SIGXCPU, &demote, nullptr);
        sd_bus_message* call = nullptr;
        sd_bus_message* reply = nullptr;
        const std::uint32_t priority = static_cast<std::uint32_t>(std::min(most, RealtimePriority));
        if (sd_bus_message_new_method_call(bus, &call, KitService, KitPath, KitService, "MakeThreadRealtime") >= 0 &&
            sd_bus_message_append(call, "tu", static_cast<std::uint64_t>(tid), priority) >= 0)
            granted = sd_bus_call(bus, call, KitTimeoutMicros, &error, &reply) >= 0;
        sd_bus_error_free(&error);
        sd_bus_message_unref(reply);
        sd_bus_message_unref(call);
    }
    sd_bus_flush_close_unref(bus);
    return granted;
}
#else
bool AskRealtimeKit(pid_t) { return false; }
#endif

}  // namespace

std::string_view RealtimeWayName(RealtimeWay way) {
    switch (way) {
        case RealtimeWay::Off: return "normal";
        case RealtimeWay::Direct: return "SCHED_FIFO";
        case RealtimeWay::RaisedLimit: return "SCHED_FIFO (RLIMIT_RTPRIO)";
        case RealtimeWay::RealtimeKit: return "real time (RealtimeKit)";
        case RealtimeWay::Denied: return "normal (real-time denied)";
    }
    return "";
}

RealtimeWay SetThreadRealtime(pthread_t thread, pid_t tid, bool on) {
    if (!on) {
        sched_param param{};
        pthread_setschedparam(thread, SCHED_OTHER, &param);
        return RealtimeWay::Off;
    }
    if (TrySchedFifo(thread, RealtimePriority)) return RealtimeWay::Direct;
    if (const int allowed = RaiseRtprioLimit(); allowed > 0 && TrySchedFifo(thread, allowed))
        return RealtimeWay::RaisedLimit;
    if (AskRealtimeKit(tid)) return RealtimeWay::RealtimeKit;
    denied = true;
    return RealtimeWay::Denied;
}

RealtimeWay SetCurrentThreadRealtime(bool on) { return SetThreadRealtime(pthread_self(), gettid(), on); }

RealtimeWay ProbeRealtime() {
    RealtimeWay way = RealtimeWay::Denied;
    std::thread([&] { way = SetCurrentThreadRealtime(true); }).join();
    return way;
}

bool RealtimeWasDenied() { return denied.load(); }

bool TakeRealtimeDeniedNotice() { return denied.load() && !noticeTaken.exchange(true); }

}  // namespace chordella::platform
