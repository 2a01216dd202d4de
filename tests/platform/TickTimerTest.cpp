#include "platform/TickTimer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <vector>

namespace chordella::platform {
namespace {

// Virtual time: every wait jumps straight to its due time, so a test runs thousands of
// ticks in milliseconds and the times it sees are exact.
class VirtualTime final : public TimeSource {
public:
    std::int64_t NowMicros() override { return now_.load(); }
    bool WaitUntil(std::unique_lock<std::mutex>&, std::condition_variable&, std::int64_t due,
                   const std::function<bool()>& stop) override {
        {
            std::lock_guard guard(threadsMutex_);
            waitingThreads_.insert(std::this_thread::get_id());
        }
        if (stop()) return true;
        std::int64_t now = now_.load();
        while (due > now && !now_.compare_exchange_weak(now, due)) {
        }
        return false;
    }
    void Advance(std::int64_t micros) { now_ += micros; }
    std::size_t TimerThreadsSeen() {
        std::lock_guard guard(threadsMutex_);
        return waitingThreads_.size();
    }

private:
    std::atomic<std::int64_t> now_{5'000'000};
    std::mutex threadsMutex_;
    std::set<std::thread::id> waitingThreads_;
};

// Runs the loop on this thread until the handler has seen `count` ticks.
struct TickRecorder {
    EventLoop loop;
    VirtualTime time;
    std::vector<std::int64_t> fired;
    std::function<void(std::size_t)> onTick;  // called with the tick's index
    std::size_t stopAfter = 0;
    std::unique_ptr<TickTimer> timer;

    TickRecorder() {
        timer = std::make_unique<TickTimer>(loop, [this](const TickInfo& info) {
            fired.push_back(info.firedMicros);
            if (onTick) onTick(fired.size() - 1);
            if (fired.size() == stopAfter) {
                timer->Stop();
                loop.Quit();
            }
        }, time);
    }
    void Run(int bpm, std::size_t ticks) {
        stopAfter = ticks;
        timer->SetTempo(bpm);
        loop.Run();
    }
};

// A minute of ticks lasts a minute: 200 bpm plays 200 beats, not 208, and at 120 bpm the
// third of a microsecond per tick does not accumulate.
TEST(TickTimer, AMinuteOfTicksLastsAMinuteAndTheSlowestAndFastestTemposTickAtTheirExactPeriods) {
    for (const std::size_t bpm : {200u, 120u}) {
        TickRecorder r;
        r.Run(static_cast<int>(bpm), 24 * bpm + 1);
        ASSERT_EQ(r.fired.size(), 24 * bpm + 1);
        EXPECT_EQ(r.fired.back() - r.fired.front(), 60'000'000) << bpm << " bpm";
        if (bpm == 120) {
            EXPECT_EQ(r.fired[1] - r.fired[0], 20833);
            EXPECT_EQ(r.fired[3] - r.fired[0], 62500);
        }
    }
    EXPECT_EQ(TickTimer::PeriodMicros(0), 0);
    for (const auto& [bpm, period] : {std::pair{25, 100000}, std::pair{250, 10000}}) {
        EXPECT_EQ(TickTimer::PeriodMicros(bpm), period);
        TickRecorder r;
        r.Run(bpm, 5);
        for (std::size_t i = 1; i < r.fired.size(); ++i) EXPECT_EQ(r.fired[i] - r.fired[i - 1], period) << bpm << " bpm";
    }
}

TEST(TickTimer, AfterAOneSecondStallTheNextTickComesAtOnceAndNoBurstFollows) {
    TickRecorder r;
    const std::int64_t period = TickTimer::PeriodMicros(120);
    std::int64_t stallEnded = 0;
    r.onTick = [&](std::size_t index) {
        if (index == 5) {
            r.time.Advance(1'000'000);  // the control thread was blocked for a second
            stallEnded = r.time.NowMicros();
        }
    };
    r.Run(120, 12);
    ASSERT_EQ(r.fired.size(), 12u);
    EXPECT_EQ(r.fired[6], stallEnded);
    // The exact period is 20833⅓ µs: single steps are 20833 or 20834.
    for (std::size_t i = 7; i < r.fired.size(); ++i) EXPECT_NEAR(r.fired[i] - r.fired[i - 1], period, 1) << i;
}

TEST(TickTimer, ATempoChangeReplacesTheOldPeriodAndKeepsOneTimerThread) {
    TickRecorder r;
    r.onTick = [&](std::size_t index) {
        if (index == 3) r.timer->SetTempo(60);
        if (index == 6) r.timer->SetTempo(180);
    };
    r.Run(120, 10);
    EXPECT_NEAR(r.fired[3] - r.fired[2], TickTimer::PeriodMicros(120), 1);
    EXPECT_NEAR(r.fired[4] - r.fired[3], TickTimer::PeriodMicros(60), 1);
    EXPECT_NEAR(r.fired[6] - r.fired[5], TickTimer::PeriodMicros(60), 1);
    EXPECT_NEAR(r.fired[7] - r.fired[6], TickTimer::PeriodMicros(180), 1);
    EXPECT_EQ(r.time.TimerThreadsSeen(), 1u);
}

TEST(TickTimer, StopSilencesTheTimerAndAStartBeginsAtOnce) {
    TickRecorder r;
    int ticksAfterStop = 0;
    bool stopped = false;
    r.onTick = [&](std::size_t index) {
        if (stopped) ++ticksAfterStop;
        if (index == 2) {
            r.timer->Stop();
            stopped = true;
            // Give a timer that wrongly kept running plenty of virtual and real time.
            r.loop.StartTimer(std::chrono::milliseconds(30), false, [&] {
                stopped = false;
                r.timer->SetTempo(120);
            });
        }
    };
    r.Run(120, 6);
    EXPECT_EQ(ticksAfterStop, 0);
    EXPECT_EQ(r.fired.size(), 6u);
}

TEST(TickTimer, TheRealClockDeliversTicksOnTheControlThread) {
    EventLoop loop;
    int ticks = 0;
    bool onControlThread = true;
    TickTimer timer(loop, [&](const TickInfo& info) {
        onControlThread = onControlThread && loop.IsControlThread();
        EXPECT_GE(info.firedMicros, info.dueMicros);
        if (++ticks == 10) {
            loop.Quit();
        }
    });
    timer.SetTempo(250);
    loop.Run();
    timer.Stop();
    EXPECT_EQ(ticks, 10);
    EXPECT_TRUE(onControlThread);
}

}  // namespace
}  // namespace chordella::platform
