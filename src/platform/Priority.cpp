#include "platform/Priority.h"

#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <type_traits>

#ifdef CHORDELLA_HAVE_SD_BUS
#include <dlfcn.h>
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

// sd-bus is opened on the first request for real time, not linked: it brings six more
// libraries whose loading every start of a headless command would pay for.
struct SdBus {
    decltype(&::sd_bus_open_system) OpenSystem = nullptr;
    decltype(&::sd_bus_get_property_trivial) GetPropertyTrivial = nullptr;
    decltype(&::sd_bus_error_free) ErrorFree = nullptr;
    decltype(&::sd_bus_message_new_method_call) NewMethodCall = nullptr;
    decltype(&::sd_bus_message_append) Append = nullptr;
    decltype(&::sd_bus_call) Call = nullptr;
    decltype(&::sd_bus_message_unref) MessageUnref = nullptr;
    decltype(&::sd_bus_flush_close_unref) FlushCloseUnref = nullptr;
};

// The functions, or nullptr when the library or one of them is missing.
const SdBus* LoadSdBus() {
    static const SdBus* const loaded = []() -> const SdBus* {
        void* handle = dlopen("libsystemd.so.0", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return nullptr;
        static SdBus bus;
        bool complete = true;
        const auto find = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
            complete = complete && function != nullptr;
        };
        find(bus.OpenSystem, "sd_bus_open_system");
        find(bus.GetPropertyTrivial, "sd_bus_get_property_trivial");
        find(bus.ErrorFree, "sd_bus_error_free");
        find(bus.NewMethodCall, "sd_bus_message_new_method_call");
        find(bus.Append, "sd_bus_message_append");
        find(bus.Call, "sd_bus_call");
        find(bus.MessageUnref, "sd_bus_message_unref");
        find(bus.FlushCloseUnref, "sd_bus_flush_close_unref");
        return complete ? &bus : nullptr;
    }();
    return loaded;
}

// RealtimeKit answers only threads of processes that limit their real-time CPU time;
// once it is found missing it is not asked again.
bool AskRealtimeKit(pid_t tid) {
    static std::atomic<bool> missing{false};
    if (tid <= 0 || missing.load()) return false;
    const SdBus* sd = LoadSdBus();
    if (sd == nullptr) {
        missing = true;
        return false;
    }
    sd_bus* bus = nullptr;
    if (sd->OpenSystem(&bus) < 0) {
        missing = true;
        return false;
    }
    bool granted = false;
    std::int32_t most = 0;
    std::int64_t rtTimeMax = 0;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const bool asked =
        sd->GetPropertyTrivial(bus, KitService, KitPath, KitService, "MaxRealtimePriority", &error, 'i', &most) >= 0 &&
        sd->GetPropertyTrivial(bus, KitService, KitPath, KitService, "RTTimeUSecMax", &error, 'x', &rtTimeMax) >= 0;
    sd->ErrorFree(&error);
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
        if (sd->NewMethodCall(bus, &call, KitService, KitPath, KitService, "MakeThreadRealtime") >= 0 &&
            sd->Append(call, "tu", static_cast<std::uint64_t>(tid), priority) >= 0)
            granted = sd->Call(bus, call, KitTimeoutMicros, &error, &reply) >= 0;
        sd->ErrorFree(&error);
        sd->MessageUnref(reply);
        sd->MessageUnref(call);
    }
    sd->FlushCloseUnref(bus);
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
