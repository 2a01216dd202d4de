#include "midi/Circbuf.h"

#include <algorithm>

namespace chordella::midi {

CircularBuffer::CircularBuffer(std::uint16_t capacity)
    : capacity_(std::clamp<std::uint16_t>(capacity, 1, MaxCapacity)),
      items_(std::make_unique<MidiBufferItem[]>(capacity_)) {}

bool CircularBuffer::Put(const MidiBufferItem& item) noexcept {
    if (eventCount_.load(std::memory_order_acquire) >= capacity_) {
        lost_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    items_[nextPut_] = item;
    nextPut_ = static_cast<std::uint16_t>(nextPut_ + 1 == capacity_ ? 0 : nextPut_ + 1);
    eventCount_.fetch_add(1, std::memory_order_release);
    return true;
}

bool CircularBuffer::Peek(MidiBufferItem& item) const noexcept {
    if (eventCount_.load(std::memory_order_acquire) == 0) return false;
    item = items_[nextGet_];
    return true;
}

void CircularBuffer::Remove() noexcept {
    if (eventCount_.load(std::memory_order_acquire) == 0) return;
    nextGet_ = static_cast<std::uint16_t>(nextGet_ + 1 == capacity_ ? 0 : nextGet_ + 1);
    eventCount_.fetch_sub(1, std::memory_order_release);
}

}  // namespace chordella::midi
