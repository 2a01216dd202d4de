// Real-time scheduling as a normal user gets it: through a granted RLIMIT_RTPRIO, or not
// at all (then said once). The user is made normal in a child process that gives up
// root, so the test needs to start as root.
#include "platform/Priority.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace chordella::platform {
namespace {

constexpr uid_t Nobody = 65534;

// Runs `check` in a child that has given up root with this hard RLIMIT_RTPRIO; its answer
// is the child's exit code (0 for yes).
int AsNormalUser(rlim_t hardRtprio, const std::function<bool()>& check) {
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{0, hardRtprio};
        if (setrlimit(RLIMIT_RTPRIO, &limit) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0) _exit(3);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 4;
}

int CurrentPolicy(int& priority) {
    sched_param param{};
    int policy = 0;
    pthread_getschedparam(pthread_self(), &policy, &param);
    priority = param.sched_priority;
    return policy;
}

TEST(Priority, ANormalUserGetsRealTimeThroughTheGrantedLimitAtTheGrantedPriority) {
    if (geteuid() != 0) GTEST_SKIP() << "making a normal user needs root";
    rlimit granted{};
    getrlimit(RLIMIT_RTPRIO, &granted);
    if (granted.rlim_max < 20) GTEST_SKIP() << "this system grants no rtprio limit to hand on (hard limit " << granted.rlim_max << ")";
    EXPECT_EQ(AsNormalUser(20, [] {
                  int priority = 0;
                  return SetCurrentThreadRealtime(true) == RealtimeWay::RaisedLimit &&
                         CurrentPolicy(priority) == SCHED_FIFO && priority == 20 && !RealtimeWasDenied() &&
                         SetCurrentThreadRealtime(false) == RealtimeWay::Off && CurrentPolicy(priority) == SCHED_OTHER;
              }),
              0);
}

TEST(Priority, WithoutAGrantTheThreadStaysAsItWasAndTheDenialIsToldOnce) {
    if (geteuid() != 0) GTEST_SKIP() << "making a normal user needs root";
    EXPECT_EQ(AsNormalUser(0, [] {
                  int priority = 0;
                  return ProbeRealtime() == RealtimeWay::Denied && SetCurrentThreadRealtime(true) == RealtimeWay::Denied &&
                         CurrentPolicy(priority) == SCHED_OTHER && RealtimeWasDenied() && TakeRealtimeDeniedNotice() &&
                         !TakeRealtimeDeniedNotice();
              }),
              0);
    EXPECT_LE(RealtimeDeniedStatus.size(), 95u) << "fits the status line";
}

}  // namespace
}  // namespace chordella::platform
