#include "platform/EventLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace chordella::platform {
namespace {

TEST(EventLoop, PostedTasksRunInOrderOnTheControlThread) {
    EventLoop loop;
    std::vector<int> order;
    std::thread::id ranOn;
    std::thread producer([&] {
        for (int i = 0; i < 100; ++i) loop.Post([&order, i] { order.push_back(i); });
        loop.Post([&] {
            ranOn = std::this_thread::get_id();
            loop.Quit(7);
        });
    });
    EXPECT_EQ(loop.Run(), 7);
    producer.join();
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

// Send from another thread returns once the task ran; on the control thread it runs at
// once; after the loop ended it fails.
TEST(EventLoop, SendWaitsUntilTheTaskRanRunsAtOnceOnTheControlThreadAndFailsAfterTheEnd) {
    EventLoop loop;
    int value = 0;
    bool sawValue = false;
    std::thread other([&] {
        EXPECT_TRUE(loop.Send([&] { value = 42; }));
        sawValue = value == 42;  // no race: Send returned after the task ran
        loop.Post([&] {
            EXPECT_TRUE(loop.Send([&] { value = 1; }));
            EXPECT_EQ(value, 1);
            loop.Quit();
        });
    });
    loop.Run();
    other.join();
    EXPECT_TRUE(sawValue);
    bool result = true;
    std::thread late([&] { result = loop.Send([] {}); });
    late.join();
    EXPECT_FALSE(result);
}

TEST(EventLoop, TimersFireInDueOrderAndARepeatingTimerCanStopItself) {
    EventLoop loop;
    std::vector<char> fired;
    int repeats = 0;
    EventLoop::TimerId repeating = 0;
    // The one-shot timers start once the repeating one has stopped, so their order depends
    // on their due times alone, however late the loop gets to them.
    repeating = loop.StartTimer(std::chrono::milliseconds(1), true, [&] {
        fired.push_back('r');
        if (++repeats < 3) return;
        loop.StopTimer(repeating);
        loop.StartTimer(std::chrono::milliseconds(40), false, [&] {
            fired.push_back('b');
            loop.Quit();
        });
        loop.StartTimer(std::chrono::milliseconds(20), false, [&] { fired.push_back('a'); });
        const auto cancelled = loop.StartTimer(std::chrono::milliseconds(10), false, [&] { fired.push_back('x'); });
        loop.StopTimer(cancelled);
    });
    loop.Run();
    EXPECT_EQ(std::string(fired.begin(), fired.end()), "rrrab");
}

// An alarm rings once per setting, a cleared one not at all, and the loop sleeps until it
// is due (Run wakes for it without any timer).
TEST(EventLoop, AnAlarmRingsOncePerSettingAndAClearedOneStaysSilent) {
    EventLoop loop;
    int rings = 0;
    const EventLoop::AlarmId silent = loop.AddAlarm([&] { rings += 100; });
    EventLoop::AlarmId alarm = -1;
    alarm = loop.AddAlarm([&] {
        if (++rings == 2) loop.Quit();
        else loop.SetAlarm(alarm, std::chrono::milliseconds(5));  // set again from its own task
    });
    ASSERT_GE(silent, 0);
    ASSERT_GE(alarm, 0);
    loop.SetAlarm(silent, std::chrono::milliseconds(1));
    loop.ClearAlarm(silent);
    loop.SetAlarm(alarm, std::chrono::hours(1));
    loop.SetAlarm(alarm, std::chrono::milliseconds(1));  // moved, not added
    loop.Run();
    EXPECT_EQ(rings, 2);
    loop.RemoveAlarm(silent);
    loop.SetAlarm(silent, std::chrono::milliseconds(0));  // a freed slot is not set
    loop.RunPending();
    EXPECT_EQ(rings, 2);
}

TEST(EventLoop, SignalsRaisedFromAnotherThreadReachTheirHandler) {
    EventLoop loop;
    std::atomic<int> raised{0};
    int handled = 0;
    const auto signal = loop.AddSignal([&] {
        ++handled;
        if (raised.load() == 1000) loop.Quit();
    });
    ASSERT_GE(signal, 0);
    std::thread producer([&] {
        for (int i = 0; i < 1000; ++i) {
            ++raised;
            loop.Raise(signal);
        }
    });
    loop.Run();
    producer.join();
    // Raises coalesce while the handler has not run yet, but the last one is never lost.
    EXPECT_GE(handled, 1);
    EXPECT_LE(handled, 1000);
}

TEST(EventLoop, ARemovedSignalNoLongerRunsAndItsSlotIsReused) {
    EventLoop loop;
    int first = 0;
    const auto a = loop.AddSignal([&] { ++first; });
    loop.Raise(a);
    loop.RemoveSignal(a);
    loop.RunPending();
    EXPECT_EQ(first, 0);
    int second = 0;
    EXPECT_EQ(loop.AddSignal([&] { ++second; }), a);
    loop.Raise(a);
    loop.RunPending();
    EXPECT_EQ(second, 1);
    loop.Raise(-1);  // out of range: ignored
    loop.Raise(EventLoop::MaxSignals);
}

}  // namespace
}  // namespace chordella::platform
