#pragma once
// The driver callback of the inputs and outputs, its settings, and the record the driver
// hands back with every call.

#include <atomic>
#include <cstdint>

#include "midi/Circbuf.h"
#include "midi/ControllerTable.h"
#include "midi/MessageWindow.h"
#include "midi/MidiBackend.h"

namespace chordella::midi {

// Where timing-clock bytes are announced with clock routing 2 or 3: raising `One` or `Zero`.
struct ClockWindow {
    platform::EventLoop* Loop = nullptr;
    platform::EventLoop::SignalId One = -1;
    platform::EventLoop::SignalId Zero = -1;
};

// What the callback reads on every message. One per session; the driver threads read it,
// the control thread sets it.
class CallbackSettings {
public:
    explicit CallbackSettings(ControllerTable& controllers) : controllers_(controllers) {}

    // Control thread.
    void SetSuppressRepeats(bool flag) { suppressRepeats_.store(flag); }
    void SetPassActiveSensing(bool flag) { passActiveSensing_.store(flag); }
    // 0 drops timing clock, 1 queues it like any message, 2 and 3 raise the window's One
    // or Zero signal. Without a window the mode is 0.
    void SetClockRouting(const ClockWindow* window, int mode);

    // Any thread.
    bool SuppressRepeats() const { return suppressRepeats_.load(std::memory_order_relaxed); }
    bool PassActiveSensing() const { return passActiveSensing_.load(std::memory_order_relaxed); }
    int ClockRouting() const { return clockRouting_.load(std::memory_order_acquire); }
    const ClockWindow& Clock() const { return clock_; }
    ControllerTable& Controllers() { return controllers_; }

private:
    ControllerTable& controllers_;
    std::atomic<bool> suppressRepeats_{false};
    std::atomic<bool> passActiveSensing_{false};
    std::atomic<int> clockRouting_{0};
    ClockWindow clock_;
};

// The record the driver passes back to the callback: one per opened component, kept until
// the component is destroyed.
struct MidiCtlInfo {
    CircularBuffer* Ring = nullptr;
    MessageWindow* Window = nullptr;
    CallbackSettings* Settings = nullptr;
    std::atomic<bool> SysexOnly{false};
    std::int64_t NextMicros = 0;  // driver thread: the time the driver gave the next message
};

// Set by the callback on a system-exclusive buffer it could not queue (ring full): the
// control thread gives such buffers back to the driver.
constexpr std::uint32_t HeaderDropped = 8;

// The driver callback; `instance` is a MidiCtlInfo. Driver thread: allocates nothing,
// locks nothing, throws nothing; touches only the ring, the controller table and the
// window's notifications.
void MidiCallback(DriverMessage kind, void* instance, std::uintptr_t param1, std::uint32_t param2) noexcept;

}  // namespace chordella::midi
