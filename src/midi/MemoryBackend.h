#pragma once
// The in-memory backend: virtual input devices a test feeds with timed bytes, virtual
// outputs that record everything sent, and a recording mapper at output id -1 that keeps
// the audio settings it was given. Nothing leaves the process.

#include <cstdint>
#include <mutex>
#include <string>
#include <deque>
#include <optional>
#include <vector>

#include "midi/MidiBackend.h"

namespace chordella::midi {

// One message an output received: a short message (packed) or a long one (Bytes).
struct SentMessage {
    std::uint32_t Packed = 0;
    std::vector<std::uint8_t> Bytes;  // system exclusive; empty for short messages
    bool IsLong() const { return !Bytes.empty(); }
};

class MemoryBackend final : public MidiBackend {
public:
    static constexpr const char* MapperName = "Memory Synth";

    // Control thread, before ports are created: adds a device and answers its id.
    int AddInput(const std::string& name);
    int AddOutput(const std::string& name);
    // The next open of that device answers `code` instead of opening.
    void FailOpen(bool input, int id, int code);

    // Any one thread at a time (it plays the driver's thread; stop feeding before the
    // input closes): delivers bytes to an open,
    // started input as if they had arrived at `millis`. Answers false when the device is
    // not open.
    bool Feed(int input, std::uint32_t millis, const std::vector<std::uint8_t>& bytes);
    bool Feed(int input, std::uint32_t millis, const std::uint8_t* bytes, std::size_t count);

    // What an output (id -1 … n-1) has received since it was last cleared.
    std::vector<SentMessage> Sent(int output) const;
    void ClearSent(int output);
    std::uint32_t Volume(int output) const;
    bool IsInputOpen(int input) const;
    // Open and started: what is fed before an input starts is dropped, as by a driver, so a
    // feeder on another thread waits for this.
    bool IsInputStarted(int input) const;
    bool IsOutputOpen(int output) const;

    std::string Name() const override { return "Memory"; }
    int InputCount() override;
    int OutputCount() override;
    int InputCaps(int id, DeviceCaps& caps) override;
    int OutputCaps(int id, DeviceCaps& caps) override;
    int OpenInput(int id, DriverCallback callback, void* instance, std::unique_ptr<InputDevice>& device) override;
    int OpenOutput(int id, DriverCallback callback, void* instance, std::unique_ptr<OutputDevice>& device) override;
    int SetOutputVolume(int id, std::uint32_t volume) override;
    std::string ApplyAudioSettings(const AudioSettings& settings) override;
    // The audio settings given last; none before the first.
    std::optional<AudioSettings> AudioApplied() const;

private:
    class Input;
    class Output;
    struct InputSlot {
        explicit InputSlot(std::string name) : Name(std::move(name)) {}
        std::string Name;
        Input* Open = nullptr;
        int FailCode = 0;
    };
    struct OutputSlot {
        explicit OutputSlot(std::string name) : Name(std::move(name)) {}
        std::string Name;
        Output* Open = nullptr;
        int FailCode = 0;
        std::uint32_t Volume = 0xFFFFFFFF;
        std::vector<SentMessage> Sent;
    };
    OutputSlot* FindOutput(int id);
    const OutputSlot* FindOutput(int id) const;

    mutable std::mutex mutex_;  // guards the recordings; never taken on a driver path
    std::deque<InputSlot> inputs_;  // deques: open devices keep references
    std::deque<OutputSlot> outputs_;
    OutputSlot mapper_{std::string(MapperName)};
    std::optional<AudioSettings> audio_;
};

}  // namespace chordella::midi
