#pragma once
// The tick timer: fires ticks at exact microsecond due times and hands each one
// synchronously to the control thread, so ticks never overlap and never queue up.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Priority.h"

namespace chordella::platform {

// What the timer knows about one tick, for whoever wants to measure it.
struct TickInfo {
    std::int64_t dueMicros = 0;    // when the tick should have fired
    std::int64_t firedMicros = 0;  // when the timer thread woke and handed it over
};

class TickTimer {
public:
    using TickHandler = std::function<void(const TickInfo&)>;

    // Control thread. `onTick` runs on the control thread, once per tick.
    TickTimer(EventLoop& loop, TickHandler onTick, TimeSource& time = SystemTime());
    // Control thread: stops and joins the timer thread.
    ~TickTimer();
    TickTimer(const TickTimer&) = delete;
    TickTimer& operator=(const TickTimer&) = delete;

    // Control thread (also from inside a tick). bpm > 0 (re)starts the ticks at that tempo;
    // bpm <= 0 silences the timer. There is one timer thread for the object's life, so two
    // timers are never alive; this never blocks on it, and no tick of the old tempo fires
    // after this returns.
    void SetTempo(int bpm);
    void Stop() { SetTempo(0); }
    int Bpm() const;

    // Control thread: raise the timer thread to SCHED_FIFO while playing, or put it back.
    // Answers how it was had (Denied where the system does not permit it; Off when there
    // is no timer thread yet, which then asks for itself when it starts).
    RealtimeWay SetRealtime(bool on);

    // Exact tick period in µs: 60 000 000 / (24 × bpm), rounded down (120 bpm → 20833).
    static std::int64_t PeriodMicros(int bpm);
    // The millisecond period of the classic timer (2500 div bpm, rounded, a half down),
    // kept for whatever displays or reads it; due times never use it.
    static int TickPeriodMillis(int bpm);
    // Due time of tick n counted from a base, without accumulated rounding.
    static std::int64_t DueMicros(std::int64_t base, std::int64_t n, int bpm);

private:
    void ThreadMain();
    void OnTickSignal();

    EventLoop& loop_;
    TickHandler onTick_;
    TimeSource& time_;
    EventLoop::SignalId signal_ = -1;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int bpm_ = 0;
    std::uint64_t generation_ = 0;  // bumped by every tempo change
    bool quit_ = false;
    bool tickRequested_ = false;
    TickInfo pendingTick_;
    std::uint64_t pendingGeneration_ = 0;
    std::uint64_t pendingSequence_ = 0;  // hand-off being waited for
    std::uint64_t doneSequence_ = 0;     // last hand-off the control thread finished
    std::atomic<pid_t> threadId_{0};       // the timer thread's kernel id, for RealtimeKit
    std::atomic<bool> realtimeWanted_{false};
    std::thread thread_;
};

}  // namespace chordella::platform
