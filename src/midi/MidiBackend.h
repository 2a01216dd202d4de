#pragma once
// What the device layer needs from a MIDI system: device counts and names, inputs that
// are opened, started, reset and closed and that report every received message through a
// per-event callback, system-exclusive buffers handed to the driver and given back, short
// and long output messages with a completion notice, and a stereo output volume.
//
// Every operation answers a result code (0 = success); ErrorText turns a code into the
// driver's own text. Backends: RtMidi (ALSA sequencer or JACK), the built-in synth (output
// id -1), the in-memory backend of the tests, and the combination the program uses.

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "midi/AudioSettings.h"

namespace chordella::midi {

// Result codes of backend calls.
namespace result {
constexpr int NoError = 0;
constexpr int Unspecified = 1;
constexpr int BadDeviceId = 2;
constexpr int Allocated = 4;
constexpr int InvalidHandle = 5;
constexpr int NoDriver = 6;
constexpr int NoMemory = 7;
constexpr int NotSupported = 8;
constexpr int InvalidParameter = 11;
constexpr int Unprepared = 64;
constexpr int StillPlaying = 65;
constexpr int NotReady = 67;
constexpr int NoDevice = 68;
constexpr int DriverError = 100;
constexpr int NoAudioDevice = 101;
}  // namespace result

// The texts of the codes above; nullopt for a code nobody defines.
std::optional<std::string> StandardErrorText(int code);

// Kinds of driver callback.
enum class DriverMessage {
    Data,        // param1: the packed short message, param2: ms since Start
    LongData,    // param1: the MidiHeader* of a filled system-exclusive buffer, param2: ms
    LongError,   // the same for a buffer returned with an incomplete message
    OutputDone,  // param1: the MidiHeader* of a completed long output message
    Lost,        // param1: how many received messages the driver could not keep (no
                 // system-exclusive buffer was at hand), param2: ms
    EventTime,   // param1: the CLOCK_MONOTONIC µs at which the next message delivered was
                 // played, from a driver that knows it better than the moment of the callback
};

// Runs on the driver's thread (or, for OutputDone, whichever thread completed the send).
using DriverCallback = void (*)(DriverMessage kind, void* instance, std::uintptr_t param1,
                                std::uint32_t param2) noexcept;

// Header flags.
constexpr std::uint32_t HeaderDone = 1;
constexpr std::uint32_t HeaderPrepared = 2;
constexpr std::uint32_t HeaderInQueue = 4;

// The buffer header that prepare/add/long-message calls take. Data points at the owner's
// data area; User leads back to the owning object. While InQueue the driver owns it.
struct MidiHeader {
    std::uint8_t* Data = nullptr;
    std::uint32_t BufferLength = 0;
    std::atomic<std::uint32_t> BytesRecorded{0};
    void* User = nullptr;
    std::atomic<std::uint32_t> Flags{0};
    MidiHeader* Next = nullptr;  // the driver's link while the header is queued
};

// Control thread. Marks a header usable by a driver; refuses headers without data.
int PrepareHeader(MidiHeader& header);
// Control thread. Refuses a header the driver still holds (StillPlaying).
int UnprepareHeader(MidiHeader& header);

// What a device reports about itself.
struct DeviceCaps {
    std::string ProductName;
    std::string Api;  // "ALSA", "JACK", "FluidSynth", "Memory"
    std::uint16_t ManufacturerId = 0;
    std::uint16_t ProductId = 0;
    std::uint32_t DriverVersion = 0;
    std::uint16_t Technology = 0;
    std::uint16_t Voices = 0;
    std::uint16_t Notes = 0;
    std::uint16_t ChannelMask = 0xFFFF;
    std::uint32_t Support = 0;
};

// An open input. Control thread for every call.
class InputDevice {
public:
    virtual ~InputDevice() = default;
    virtual int Start() = 0;
    // Stops input and gives back every queued buffer (Done set, InQueue cleared, no callback).
    virtual int Reset() = 0;
    // Queues a prepared buffer for system-exclusive data.
    virtual int AddBuffer(MidiHeader& header) = 0;
    // Refuses (StillPlaying) while buffers are queued.
    virtual int Close() = 0;
};

// An open output. Control thread for every call; ShortMsg allocates nothing.
class OutputDevice {
public:
    virtual ~OutputDevice() = default;
    virtual int ShortMsg(std::uint32_t packed) = 0;
    // Sends a prepared header's BufferLength bytes; on completion the header gets Done and
    // the callback is called with OutputDone.
    virtual int LongMsg(MidiHeader& header) = 0;
    virtual int Close() = 0;
};

class MidiBackend {
public:
    virtual ~MidiBackend() = default;
    // Control thread for everything below.
    virtual std::string Name() const = 0;
    virtual int InputCount() = 0;
    virtual int OutputCount() = 0;
    virtual int InputCaps(int id, DeviceCaps& caps) = 0;
    // id -1 is the mapper (the built-in synth where there is one).
    virtual int OutputCaps(int id, DeviceCaps& caps) = 0;
    virtual int OpenInput(int id, DriverCallback callback, void* instance, std::unique_ptr<InputDevice>& device) = 0;
    virtual int OpenOutput(int id, DriverCallback callback, void* instance, std::unique_ptr<OutputDevice>& device) = 0;
    // Volume by device id: right channel in the high 16 bits, left in the low 16 bits.
    virtual int SetOutputVolume(int id, std::uint32_t volume) = 0;
    virtual std::optional<std::string> ErrorText(int code) { return StandardErrorText(code); }

    // The arrival time (CLOCK_MONOTONIC µs) of the input message being handled now; 0 when
    // none. An output that plays at an exact time (the built-in synth) plays what is sent
    // meanwhile at a constant distance from that time, wherever the driver's period fell.
    virtual void SetSourceTime(std::int64_t /*micros*/) {}
    // The built-in synth's audio settings. An open synth takes volume, reverb and chorus at
    // once and reopens its driver or reloads its SoundFont for the rest. Answers "" or why
    // the settings could not be applied (the synth then plays on as it did).
    virtual std::string ApplyAudioSettings(const AudioSettings& /*settings*/) { return ""; }
    // What the built-in synth uses now; nothing from a backend without one.
    virtual std::optional<SynthStatus> SynthInUse() { return std::nullopt; }
};

// The number of bytes of a short message with this status (0 for a status that is not
// a complete short message on its own: data bytes, 0xF0, 0xF7, undefined 0xF4/0xF5).
int ShortMessageLength(std::uint8_t status);

}  // namespace chordella::midi
