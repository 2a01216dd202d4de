#pragma once
// A MIDI input port: opens a backend's input device with the driver callback, keeps the
// ring the callback fills and the system-exclusive buffers it lends to the driver, and
// calls OnMidiInput on the control thread when events are waiting.
//
// Every member is for the control thread. The driver thread only runs MidiCallback.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/ChordCB.h"
#include "midi/MidiBackend.h"
#include "midi/MidiErrors.h"
#include "midi/MidiEvent.h"

namespace chordella::midi {

class TMidiInput {
public:
    enum class State { Creating, Closed, Open };
    using Notify = std::function<void(TMidiInput&)>;
    // Events the ring holds by default: a burst of 10 000 messages arriving while the
    // control thread is busy waits without loss.
    static constexpr std::uint16_t DefaultCapacity = 16384;

    // Selects device 0; throws EMidiInputError("Invalid device ID") when there is none.
    TMidiInput(MidiBackend& backend, platform::EventLoop& loop, CallbackSettings& settings);
    ~TMidiInput();
    TMidiInput(const TMidiInput&) = delete;
    TMidiInput& operator=(const TMidiInput&) = delete;

    const std::string& ProductName() const { return productName_; }
    // Refused while open; selects the device with exactly this name.
    void SetProductName(const std::string& name);
    std::uint16_t DeviceID() const { return deviceId_; }
    // Refused while open and for ids outside 0 … NumDevs-1.
    void SetDeviceID(int id);
    std::uint16_t Capacity() const { return capacity_; }
    // Takes effect at the next Open.
    void SetCapacity(std::uint16_t capacity) { capacity_ = capacity; }
    std::uint16_t Error() const { return error_; }
    std::uint16_t SysexBufferSize() const { return sysexBufferSize_; }
    void SetSysexBufferSize(std::uint16_t size);
    std::uint16_t SysexBufferCount() const { return sysexBufferCount_; }
    void SetSysexBufferCount(std::uint16_t count);
    bool SysexOnly() const { return sysexOnly_; }
    // Effective at once, also while open.
    void SetSysexOnly(bool flag);
    int NumDevs() const { return numDevs_; }
    const DeviceCaps& Caps() const { return caps_; }
    State GetState() const { return state_; }
    bool IsOpen() const { return state_ == State::Open; }

    Notify OnMidiInput;  // events are waiting; the handler drains them with GetMidiEvent
    Notify OnOverflow;   // the ring was full and events were lost (LostEvents counts them)

    // Never throws: the outcome is in Error (0 = open).
    void Open();
    // When open. Throws EMidiInputError with the driver's text on failure.
    void Start();
    // When open: stops input, frees the buffers and the ring. Throws on a driver failure.
    void Close();

    // Events waiting; 0 when not open.
    std::uint16_t MessageCount() const;
    // The oldest waiting event, or nullptr when not open or nothing waits. Hands the
    // system-exclusive buffer of the event back to the driver (throws when that fails).
    std::unique_ptr<TMyMidiEvent> GetMidiEvent();

    // Events lost to a full ring since this input was made (over every Open).
    std::uint32_t LostEvents() const;

    // System-exclusive buffers lent to the driver right now (for checks and tests).
    int BuffersAtDriver() const;

private:
    void Check(int code);
    void CreateBuffers();
    void GiveBackDropped();
    void FreeOpenState();
    void HandleData(std::uint32_t count);
    void HandleOverflow();

    MidiBackend& backend_;
    CallbackSettings& settings_;
    State state_ = State::Creating;
    std::string productName_;
    std::uint16_t deviceId_ = 0;
    std::uint16_t capacity_ = DefaultCapacity;
    std::uint32_t lostBefore_ = 0;  // lost to the rings of earlier opens
    std::uint16_t error_ = 0;
    std::uint16_t sysexBufferSize_ = 4096;
    std::uint16_t sysexBufferCount_ = 16;
    bool sysexOnly_ = false;
    int numDevs_ = 0;
    DeviceCaps caps_;

    std::unique_ptr<InputDevice> device_;
    std::unique_ptr<CircularBuffer> ring_;
    std::vector<std::unique_ptr<TMyMidiHdr>> buffers_;
    std::unique_ptr<MidiCtlInfo> info_;
    std::unique_ptr<MessageWindow> window_;
};

}  // namespace chordella::midi
