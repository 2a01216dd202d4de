#pragma once
// A component's message window: the notifications a driver thread raises for the control
// thread. Raising one neither allocates nor locks (an event-loop signal and a counter);
// the handlers run on the control thread. Data notifications are counted, so the handler
// learns how many were raised since it last ran, as if each had been a posted message.

#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/EventLoop.h"

namespace chordella::midi {

class MessageWindow {
public:
    // Control thread. `onData` gets the number of data notifications raised since its last
    // run; `onOther` serves the overflow (input) or output-done (output) notification.
    MessageWindow(platform::EventLoop& loop, std::function<void(std::uint32_t)> onData, std::function<void()> onOther);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // Any thread, including driver callbacks.
    void PostData() noexcept;
    void PostOther() noexcept;

private:
    platform::EventLoop& loop_;
    std::atomic<std::uint32_t> dataCount_{0};
    platform::EventLoop::SignalId dataSignal_ = -1;
    platform::EventLoop::SignalId otherSignal_ = -1;
};

}  // namespace chordella::midi
