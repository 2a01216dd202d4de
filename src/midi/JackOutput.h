#pragma once
// Our own JACK MIDI output port. The control thread writes whole messages into a lock-free
// byte ring; JACK's process thread moves them, oldest first, into the port's buffer of the
// period. What the period's buffer cannot take stays in the ring and goes out in the next
// periods, in order: no message is dropped because one period is full.
//
// When the ring itself is full (a burst far larger than the server can pass on in the
// meantime) the control thread waits for room, up to WaitForRoom; only a server that has
// stopped processing makes a send fail (NotReady), and such failures are counted.
// A message larger than an empty period buffer can ever hold is refused (InvalidParameter).

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include <jack/ringbuffer.h>
#include <jack/types.h>

#include "midi/MidiBackend.h"

namespace chordella::midi {

class JackOutput final : public OutputDevice {
public:
    // Bytes of the hand-off ring: room for about 150 000 short messages.
    static constexpr std::size_t RingBytes = 1 << 20;
    static constexpr std::chrono::milliseconds WaitForRoom{5000};

    JackOutput(DriverCallback callback, void* instance);
    ~JackOutput() override;
    JackOutput(const JackOutput&) = delete;
    JackOutput& operator=(const JackOutput&) = delete;

    // Control thread. Opens a client named `clientName` (JACK makes the name unique) with an
    // output port `portName`, and connects it to the port `destination` unless that is empty.
    // Answers NoError, or DriverError with `error` set.
    int Open(const std::string& clientName, const std::string& portName, const std::string& destination,
             std::string& error);

    // Control thread. Never allocates; waits only while the ring is full.
    int ShortMsg(std::uint32_t packed) override;
    int LongMsg(MidiHeader& header) override;
    int Close() override;

    // Any thread. Messages lost for good: sends that found the server stopped.
    std::uint64_t Lost() const { return lost_.load(std::memory_order_relaxed); }
    // Any thread. Periods that could not take everything waiting (the rest went later).
    std::uint64_t DeferredPeriods() const { return deferred_.load(std::memory_order_relaxed); }

private:
    static int Process(std::uint32_t frames, void* self) noexcept;
    static void Shutdown(void* self) noexcept;
    void Pass(std::uint32_t frames) noexcept;
    int Write(const std::uint8_t* bytes, std::uint32_t count);
    bool WaitForSpace(std::size_t needed);

    DriverCallback callback_;
    void* instance_;
    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    jack_ringbuffer_t* ring_ = nullptr;
    std::size_t portBufferBytes_ = 0;  // no message can be larger than one period's buffer
    std::atomic<bool> serverGone_{false};
    std::atomic<std::uint64_t> cycles_{0};  // process calls so far
    std::atomic<std::uint64_t> lost_{0};
    std::atomic<std::uint64_t> deferred_{0};
    std::uint64_t stuckAtCycle_ = ~std::uint64_t{0};  // control thread: the cycle a wait gave up at
};

}  // namespace chordella::midi
