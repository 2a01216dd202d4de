#pragma once
// The ring of received events of one open input: single producer (the driver callback),
// single consumer (the control thread). Storage is allocated once when the ring is made;
// the event count is changed atomically and an item is fully written before the count
// that publishes it is raised. An item that finds the ring full is lost and counted.

#include <atomic>
#include <cstdint>
#include <memory>

#include "midi/MidiBackend.h"

namespace chordella::midi {

struct MidiBufferItem {
    std::uint32_t Timestamp = 0;
    std::int64_t Micros = 0;          // when it was played, CLOCK_MONOTONIC µs
    std::uint32_t Data = 0;           // status | data1 << 8 | data2 << 16
    MidiHeader* Sysex = nullptr;      // a received system-exclusive buffer, or none
};

class CircularBuffer {
public:
    // The ring holds at most this many items (the count is 16 bits wide).
    static constexpr std::uint16_t MaxCapacity = 65535;

    // Control thread. A capacity of 0 or above MaxCapacity is brought into 1 … MaxCapacity.
    explicit CircularBuffer(std::uint16_t capacity);
    CircularBuffer(const CircularBuffer&) = delete;
    CircularBuffer& operator=(const CircularBuffer&) = delete;

    std::uint16_t Capacity() const { return capacity_; }
    // Any thread.
    std::uint16_t EventCount() const { return eventCount_.load(std::memory_order_acquire); }

    // Driver thread: false when the ring is full (the item is lost and counted).
    bool Put(const MidiBufferItem& item) noexcept;
    // Driver thread: messages the driver lost before they reached the ring count as lost too.
    void CountLost(std::uint32_t count) noexcept { lost_.fetch_add(count, std::memory_order_relaxed); }
    // Any thread: items lost since the ring was made.
    std::uint32_t Lost() const { return lost_.load(std::memory_order_relaxed); }
    // Control thread: the oldest item, false when empty.
    bool Peek(MidiBufferItem& item) const noexcept;
    // Control thread: drops the oldest item.
    void Remove() noexcept;

private:
    std::uint16_t capacity_;
    std::unique_ptr<MidiBufferItem[]> items_;
    std::uint16_t nextPut_ = 0;  // written by the producer only
    std::uint16_t nextGet_ = 0;  // written by the consumer only
    std::atomic<std::uint16_t> eventCount_{0};
    std::atomic<std::uint32_t> lost_{0};
};

}  // namespace chordella::midi
