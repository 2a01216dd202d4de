#pragma once
// The control thread's event loop: the one place where state is touched.
//
// Other threads hand work to it with Post (queued) or Send (queued, then wait until it
// ran). Real-time producers (MIDI callbacks, the tick timer) use pre-registered signals:
// raising one neither allocates nor locks, it sets a flag and wakes the loop.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace chordella::platform {

class EventLoop {
public:
    using Task = std::function<void()>;
    using TimerId = std::uint64_t;
    using SignalId = int;
    using AlarmId = int;
    static constexpr int MaxSignals = 64;
    static constexpr int MaxAlarms = 16;

    EventLoop();
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // The calling thread becomes the control thread and runs tasks, signals and timers
    // until Quit. Returns the code given to Quit.
    int Run();
    // Any thread: makes Run return after the work in hand.
    void Quit(int exitCode = 0);
    // Control thread (tests, offline work): runs what is due now without blocking.
    // Returns true when anything ran.
    bool RunPending();

    // Any thread: queue a task for the control thread.
    void Post(Task task);
    // Any thread: run the task on the control thread and wait for it. On the control
    // thread itself it runs at once. Returns false when the loop ended before running it.
    bool Send(Task task);

    // Control thread: a timer firing after `delay`, once or every `delay`.
    TimerId StartTimer(std::chrono::milliseconds delay, bool repeat, Task task);
    void StopTimer(TimerId id);

    // Control thread, or before the loop runs: registers a handler that Raise wakes.
    // Returns -1 when all slots are taken.
    SignalId AddSignal(Task handler);
    // Control thread: frees the slot; a raise still pending is dropped.
    void RemoveSignal(SignalId id);
    // Any thread, including real-time callbacks: no allocation, no lock.
    void Raise(SignalId id) noexcept;

    // Control thread: an alarm is a one-shot timer whose task is registered once, so that
    // setting it later allocates nothing (work started inside a tick). Returns -1 when all
    // slots are taken.
    AlarmId AddAlarm(Task task);
    // Control thread: frees the slot; an alarm still set is dropped.
    void RemoveAlarm(AlarmId id);
    // Control thread: the alarm's task runs once, `delay` from now; an alarm already set is
    // moved. No allocation, no lock.
    void SetAlarm(AlarmId id, std::chrono::steady_clock::duration delay) noexcept;
    void ClearAlarm(AlarmId id) noexcept;

    // True on the thread that runs (or last ran) the loop.
    bool IsControlThread() const;

private:
    struct Timer {
        TimerId id;
        std::chrono::steady_clock::duration period;
        bool repeat;
        Task task;
    };

    void Wake() noexcept;
    void WaitForWork(int timeoutMillis);
    bool RunSignals();
    bool RunTasks();
    bool RunTimers();
    bool RunAlarms();
    int MillisToNextTimer() const;
    void MarkControlThread();

    int wakeFd_ = -1;
    std::atomic<bool> quit_{false};
    std::atomic<bool> ended_{false};
    int exitCode_ = 0;
    std::atomic<std::thread::id> controlThread_{};

    std::mutex taskMutex_;
    std::deque<Task> tasks_;
    std::condition_variable sendDone_;

    std::multimap<std::chrono::steady_clock::time_point, Timer> timers_;
    TimerId nextTimerId_ = 1;

    struct Alarm {
        Task task;
        std::chrono::steady_clock::time_point due{};
        bool used = false;
        bool set = false;
    };
    std::array<Alarm, MaxAlarms> alarms_{};

    std::mutex signalMutex_;  // only AddSignal takes it
    std::array<Task, MaxSignals> signalHandlers_;
    std::array<std::atomic<bool>, MaxSignals> signalActive_{};
    std::array<std::atomic<bool>, MaxSignals> signalRaised_{};
};

}  // namespace chordella::platform
