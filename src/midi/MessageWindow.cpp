#include "midi/MessageWindow.h"

#include <stdexcept>

namespace chordella::midi {

MessageWindow::MessageWindow(platform::EventLoop& loop, std::function<void(std::uint32_t)> onData,
                             std::function<void()> onOther)
    : loop_(loop) {
    dataSignal_ = loop_.AddSignal([this, onData = std::move(onData)] {
        const std::uint32_t count = dataCount_.exchange(0);
        if (count > 0 && onData) onData(count);
    });
    otherSignal_ = loop_.AddSignal([onOther = std::move(onOther)] {
        if (onOther) onOther();
    });
    if (dataSignal_ < 0 || otherSignal_ < 0) {
        loop_.RemoveSignal(dataSignal_);
        loop_.RemoveSignal(otherSignal_);
        throw std::runtime_error("no free event-loop signal for a MIDI port");
    }
}

MessageWindow::~MessageWindow() {
    loop_.RemoveSignal(dataSignal_);
    loop_.RemoveSignal(otherSignal_);
}

void MessageWindow::PostData() noexcept {
    dataCount_.fetch_add(1, std::memory_order_relaxed);
    loop_.Raise(dataSignal_);
}

void MessageWindow::PostOther() noexcept { loop_.Raise(otherSignal_); }

}  // namespace chordella::midi
