#include "platform/TickTimer.h"

#include <sys/prctl.h>
#include <unistd.h>


namespace chordella::platform {

std::int64_t TickTimer::PeriodMicros(int bpm) { return bpm > 0 ? 60'000'000 / (24 * bpm) : 0; }

int TickTimer::TickPeriodMillis(int bpm) {
    if (bpm <= 0) return 0;
    return 2500 / bpm + (2500 % bpm > bpm / 2 ? 1 : 0);
}

std::int64_t TickTimer::DueMicros(std::int64_t base, std::int64_t n, int bpm) {
    return base + n * 60'000'000 / (24 * static_cast<std::int64_t>(bpm));
}

TickTimer::TickTimer(EventLoop& loop, TickHandler onTick, TimeSource& time)
    : loop_(loop), onTick_(std::move(onTick)), time_(time) {
    signal_ = loop_.AddSignal([this] { OnTickSignal(); });
}

TickTimer::~TickTimer() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        ++generation_;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    loop_.RemoveSignal(signal_);
}

void TickTimer::SetTempo(int bpm) {
    {
        std::lock_guard lock(mutex_);
        bpm_ = bpm > 0 ? bpm : 0;
        ++generation_;
    }
    changed_.notify_all();
    if (bpm > 0 && !thread_.joinable()) thread_ = std::thread([this] { ThreadMain(); });
}

int TickTimer::Bpm() const {
    std::lock_guard lock(mutex_);
    return bpm_;
}

RealtimeWay TickTimer::SetRealtime(bool on) {
    realtimeWanted_ = on;
    if (!thread_.joinable()) return RealtimeWay::Off;
    return SetThreadRealtime(thread_.native_handle(), threadId_.load(), on);
}

void TickTimer::ThreadMain() {
    // Without this the kernel may let an absolute wait run 50 µs late on purpose.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    threadId_ = gettid();
    if (realtimeWanted_) SetCurrentThreadRealtime(true);

    std::unique_lock lock(mutex_);
    std::uint64_t generation = generation_ - 1;  // forces a fresh start below
    int bpm = 0;
    std::int64_t base = 0;
    std::int64_t n = 0;
    bool fired = false;  // a tick has fired since the last start
    std::int64_t lastDue = 0;
    std::uint64_t sequence = 0;

    while (!quit_) {
        if (bpm_ <= 0) {
            changed_.wait(lock, [&] { return quit_ || bpm_ > 0; });
            fired = false;
            continue;
        }
        if (generation != generation_) {
            // A new tempo continues the time line one new period after the last tick;
            // a start begins at once.
            generation = generation_;
            bpm = bpm_;
            base = fired ? lastDue + PeriodMicros(bpm) : time_.NowMicros();
            n = 0;
        }
        std::int64_t due = DueMicros(base, n, bpm);
        const std::uint64_t myGeneration = generation;
        const bool interrupted = time_.WaitUntil(lock, changed_, due, [&] {
            return quit_ || generation_ != myGeneration;
        });
        if (interrupted) continue;

        const std::int64_t now = time_.NowMicros();
        if (due < now - 4 * PeriodMicros(bpm)) {
            // Far behind (the control thread stalled): no burst of catch-up ticks, the grid
            // is re-based on the present and this tick fires now.
            base = now;
            n = 0;
            due = now;
        }
        pendingTick_ = TickInfo{due, now};
        pendingGeneration_ = myGeneration;
        const std::uint64_t mySequence = ++sequence;
        pendingSequence_ = mySequence;
        tickRequested_ = true;
        loop_.Raise(signal_);
        changed_.wait(lock, [&] {
            return doneSequence_ == mySequence || quit_ || generation_ != myGeneration;
        });
        tickRequested_ = false;
        fired = true;
        lastDue = due;
        ++n;
    }
}

void TickTimer::OnTickSignal() {
    std::unique_lock lock(mutex_);
    if (!tickRequested_ || pendingGeneration_ != generation_ || doneSequence_ == pendingSequence_) return;
    const TickInfo info = pendingTick_;
    const std::uint64_t sequence = pendingSequence_;
    lock.unlock();
    onTick_(info);  // may change the tempo or stop the timer
    lock.lock();
    doneSequence_ = sequence;
    lock.unlock();
    changed_.notify_all();
}

}  // namespace chordella::platform
