#include "platform/EventLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace chordella::platform {

EventLoop::EventLoop() {
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) throw std::runtime_error("cannot create the event loop's wake-up descriptor");
}

EventLoop::~EventLoop() {
    ended_ = true;
    sendDone_.notify_all();
    close(wakeFd_);
}

void EventLoop::MarkControlThread() { controlThread_.store(std::this_thread::get_id()); }

bool EventLoop::IsControlThread() const { return controlThread_.load() == std::this_thread::get_id(); }

int EventLoop::Run() {
    MarkControlThread();
    ended_ = false;
    while (!quit_.load()) {
        RunPending();
        if (quit_.load()) break;
        WaitForWork(MillisToNextTimer());
    }
    quit_ = false;
    {
        // A Send that can no longer run must not wait forever.
        std::lock_guard lock(taskMutex_);
        ended_ = true;
    }
    sendDone_.notify_all();
    return exitCode_;
}

void EventLoop::Quit(int exitCode) {
    exitCode_ = exitCode;
    quit_ = true;
    Wake();
}

bool EventLoop::RunPending() {
    if (controlThread_.load() == std::thread::id{}) MarkControlThread();
    std::uint64_t drained = 0;
    while (read(wakeFd_, &drained, sizeof drained) > 0) {
    }
    bool ran = RunSignals();
    ran = RunTasks() || ran;
    ran = RunTimers() || ran;
    ran = RunAlarms() || ran;
    return ran;
}

void EventLoop::Wake() noexcept {
    const std::uint64_t one = 1;
    // A full counter already means "wake up"; nothing else can go wrong here.
    [[maybe_unused]] auto written = write(wakeFd_, &one, sizeof one);
}

void EventLoop::WaitForWork(int timeoutMillis) {
    pollfd fd{wakeFd_, POLLIN, 0};
    poll(&fd, 1, timeoutMillis);
}

void EventLoop::Post(Task task) {
    {
        std::lock_guard lock(taskMutex_);
        tasks_.push_back(std::move(task));
    }
    Wake();
}

bool EventLoop::Send(Task task) {
    if (IsControlThread()) {
        task();
        return true;
    }
    struct Done {
        bool value = false;
    };
    auto done = std::make_shared<Done>();
    {
        std::lock_guard lock(taskMutex_);
        if (ended_) return false;
        tasks_.push_back([this, done, task = std::move(task)] {
            task();
            std::lock_guard inner(taskMutex_);
            done->value = true;
            sendDone_.notify_all();
        });
    }
    Wake();
    std::unique_lock lock(taskMutex_);
    sendDone_.wait(lock, [&] { return done->value || ended_.load(); });
    return done->value;
}

bool EventLoop::RunTasks() {
    std::deque<Task> batch;
    {
        std::lock_guard lock(taskMutex_);
        batch.swap(tasks_);
    }
    for (auto& task : batch) task();
    return !batch.empty();
}

EventLoop::TimerId EventLoop::StartTimer(std::chrono::milliseconds delay, bool repeat, Task task) {
    const TimerId id = nextTimerId_++;
    const auto period = std::chrono::steady_clock::duration(delay);
    timers_.emplace(std::chrono::steady_clock::now() + period, Timer{id, period, repeat, std::move(task)});
    return id;
}

void EventLoop::StopTimer(TimerId id) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.id == id) {
            timers_.erase(it);
            return;
        }
    }
}

bool EventLoop::RunTimers() {
    const auto now = std::chrono::steady_clock::now();
    std::vector<Timer> due;
    while (!timers_.empty() && timers_.begin()->first <= now) {
        due.push_back(std::move(timers_.begin()->second));
        timers_.erase(timers_.begin());
    }
    for (auto& timer : due) {
        // A repeating timer is re-armed before it runs, so its task may stop it.
        Task task = timer.task;
        if (timer.repeat) timers_.emplace(now + timer.period, std::move(timer));
        task();
    }
    return !due.empty();
}

EventLoop::AlarmId EventLoop::AddAlarm(Task task) {
    for (int id = 0; id < MaxAlarms; ++id) {
        Alarm& alarm = alarms_[static_cast<std::size_t>(id)];
        if (alarm.used) continue;
        alarm = Alarm{std::move(task), {}, true, false};
        return id;
    }
    return -1;
}

void EventLoop::RemoveAlarm(AlarmId id) {
    if (id < 0 || id >= MaxAlarms) return;
    alarms_[static_cast<std::size_t>(id)] = Alarm{};
}

void EventLoop::SetAlarm(AlarmId id, std::chrono::steady_clock::duration delay) noexcept {
    if (id < 0 || id >= MaxAlarms || !alarms_[static_cast<std::size_t>(id)].used) return;
    Alarm& alarm = alarms_[static_cast<std::size_t>(id)];
    alarm.due = std::chrono::steady_clock::now() + delay;
    alarm.set = true;
}

void EventLoop::ClearAlarm(AlarmId id) noexcept {
    if (id >= 0 && id < MaxAlarms) alarms_[static_cast<std::size_t>(id)].set = false;
}

bool EventLoop::RunAlarms() {
    const auto now = std::chrono::steady_clock::now();
    bool ran = false;
    for (Alarm& alarm : alarms_) {
        if (!alarm.set || alarm.due > now) continue;
        alarm.set = false;  // before the task: it may set the alarm again
        alarm.task();
        ran = true;
    }
    return ran;
}

int EventLoop::MillisToNextTimer() const {
    std::optional<std::chrono::steady_clock::time_point> next;
    if (!timers_.empty()) next = timers_.begin()->first;
    for (const Alarm& alarm : alarms_)
        if (alarm.set && (!next || alarm.due < *next)) next = alarm.due;
    if (!next) return -1;
    const auto wait = *next - std::chrono::steady_clock::now();
    if (wait <= std::chrono::steady_clock::duration::zero()) return 0;
    const auto millis = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    return static_cast<int>(std::min<long long>(millis, 60'000));
}

EventLoop::SignalId EventLoop::AddSignal(Task handler) {
    std::lock_guard lock(signalMutex_);
    for (int id = 0; id < MaxSignals; ++id) {
        if (signalActive_[id].load()) continue;
        signalHandlers_[id] = std::move(handler);
        signalRaised_[id].store(false);
        signalActive_[id].store(true, std::memory_order_release);
        return id;
    }
    return -1;
}

void EventLoop::RemoveSignal(SignalId id) {
    if (id < 0 || id >= MaxSignals) return;
    // The handler itself stays until the slot is reused: it may be the one running now.
    signalActive_[id].store(false);
    signalRaised_[id].store(false);
}

void EventLoop::Raise(SignalId id) noexcept {
    if (id < 0 || id >= MaxSignals) return;
    // Raised and not yet handled: the loop has been woken for it already. A driver thread
    // that raises once per message then pays a system call only once per handling.
    if (signalRaised_[id].exchange(true, std::memory_order_acq_rel)) return;
    Wake();
}

bool EventLoop::RunSignals() {
    bool ran = false;
    for (int id = 0; id < MaxSignals; ++id) {
        if (!signalActive_[id].load(std::memory_order_acquire)) continue;
        if (!signalRaised_[id].exchange(false, std::memory_order_acq_rel)) continue;
        signalHandlers_[id]();
        ran = true;
    }
    return ran;
}

}  // namespace chordella::platform
