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
    static constexpr int MaxSignals = 64;

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

    std::mutex signalMutex_;  // only AddSignal takes it
    std::array<Task, MaxSignals> signalHandlers_;
    std::array<std::atomic<bool>, MaxSignals> signalActive_{};
    std::array<std::atomic<bool>, MaxSignals> signalRaised_{};
};

}  // namespace chordella::platform
