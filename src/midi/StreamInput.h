#pragma once
// The part every input backend shares: turns the bytes a driver delivers into the device
// layer's callbacks. It keeps running status, lets real-time bytes through anywhere, drops
// lone data bytes and the undefined status bytes 0xF4, 0xF5, 0xF9 and 0xFD, and collects
// system-exclusive messages into the buffers the control thread has added: a message
// longer than one buffer continues in the next, a message cut short by a status byte is
// returned as LongError, and with no buffer at hand it is dropped and reported as lost.
//
// One delivery is one event of the MIDI system (a JACK event, an ALSA sequencer event):
// a message of its own. Nothing carries over into the next delivery: a system-exclusive
// message still open when its event ends is returned at once as LongError (so that it can
// never swallow what comes later, nor be joined to a later lone F7), a short message cut
// off by the end of its event is dropped, and running status starts afresh.
//
// Deliver runs on the driver's thread; Start, Reset and AddBuffer on the control thread.
// They meet through atomics only: buffers are handed over on a lock-free stack, and Reset
// waits for a Deliver in progress to finish before it takes the buffers back.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "midi/MidiBackend.h"

namespace chordella::midi {

class StreamInput : public InputDevice {
public:
    StreamInput(DriverCallback callback, void* instance) : callback_(callback), instance_(instance) {}
    ~StreamInput() override;

    // Control thread.
    int Start() override;
    int Reset() override;
    int AddBuffer(MidiHeader& header) override;
    // Answers StillPlaying while buffers are queued, else NoError; backends close after it.
    int CheckClose() const;
    bool Started() const { return started_.load(); }

    // Driver thread: the bytes of one event received at `millis` (ms since Start).
    // Allocates nothing, locks nothing; ignored unless started.
    void Deliver(const std::uint8_t* bytes, std::size_t count, std::uint32_t millis) noexcept;

protected:
    // Driver thread: the next message delivered was played at `micros` (CLOCK_MONOTONIC).
    void Stamp(std::int64_t micros) noexcept {
        if (started_.load(std::memory_order_relaxed)) callback_(DriverMessage::EventTime, instance_, static_cast<std::uintptr_t>(micros), 0);
    }

private:
    void Byte(std::uint8_t byte, std::uint32_t millis) noexcept;
    void EndOfEvent(std::uint32_t millis) noexcept;
    void SysexByte(std::uint8_t byte, std::uint32_t millis) noexcept;
    void BeginSysex(std::uint32_t millis) noexcept;
    void Lose(std::uint32_t millis) noexcept;
    void EndSysex(DriverMessage kind, std::uint32_t millis) noexcept;
    MidiHeader* TakeBuffer() noexcept;
    void Emit(std::uint32_t packed, std::uint32_t millis) noexcept;
    static void GiveBack(MidiHeader* header) noexcept;

    DriverCallback callback_;
    void* instance_;
    std::atomic<bool> started_{false};
    std::atomic<bool> busy_{false};
    std::atomic<MidiHeader*> added_{nullptr};  // pushed by the control thread
    std::atomic<int> queued_{0};               // buffers the driver holds

    // Driver-thread state.
    MidiHeader* ready_ = nullptr;  // buffers taken from added_, oldest first
    MidiHeader* sysex_ = nullptr;  // the buffer being filled
    bool inSysex_ = false;
    std::uint8_t status_ = 0;      // running or pending status
    std::uint8_t data_[2] = {0, 0};
    int have_ = 0;
    int need_ = 0;
};

}  // namespace chordella::midi
