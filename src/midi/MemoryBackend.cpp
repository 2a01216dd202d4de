#include "midi/MemoryBackend.h"

#include <utility>

#include "midi/StreamInput.h"

namespace chordella::midi {

class MemoryBackend::Input final : public StreamInput {
public:
    Input(MemoryBackend& owner, int id, DriverCallback callback, void* instance)
        : StreamInput(callback, instance), owner_(owner), id_(id) {}
    ~Input() override {
        Reset();
        owner_.inputs_[id_].Open = nullptr;
    }
    int Close() override { return CheckClose(); }

private:
    MemoryBackend& owner_;
    int id_;
};

class MemoryBackend::Output final : public OutputDevice {
public:
    Output(MemoryBackend& owner, OutputSlot& slot, DriverCallback callback, void* instance)
        : owner_(owner), slot_(slot), callback_(callback), instance_(instance) {}
    ~Output() override { slot_.Open = nullptr; }

    int ShortMsg(std::uint32_t packed) override {
        if (ShortMessageLength(static_cast<std::uint8_t>(packed & 0xFF)) == 0) return result::InvalidParameter;
        std::lock_guard lock(owner_.mutex_);
        slot_.Sent.push_back({packed, {}});
        return result::NoError;
    }
    int LongMsg(MidiHeader& header) override {
        const std::uint32_t flags = header.Flags.load();
        if (!(flags & HeaderPrepared)) return result::Unprepared;
        if (flags & HeaderInQueue) return result::StillPlaying;
        {
            std::lock_guard lock(owner_.mutex_);
            slot_.Sent.push_back({0, std::vector<std::uint8_t>(header.Data, header.Data + header.BufferLength)});
        }
        header.Flags.fetch_or(HeaderDone);
        callback_(DriverMessage::OutputDone, instance_, reinterpret_cast<std::uintptr_t>(&header), 0);
        return result::NoError;
    }
    int Close() override { return result::NoError; }

private:
    MemoryBackend& owner_;
    OutputSlot& slot_;
    DriverCallback callback_;
    void* instance_;
};

int MemoryBackend::AddInput(const std::string& name) {
    inputs_.emplace_back(name);
    return static_cast<int>(inputs_.size()) - 1;
}

int MemoryBackend::AddOutput(const std::string& name) {
    outputs_.emplace_back(name);
    return static_cast<int>(outputs_.size()) - 1;
}

void MemoryBackend::FailOpen(bool input, int id, int code) {
    if (input && id >= 0 && id < static_cast<int>(inputs_.size())) inputs_[id].FailCode = code;
    if (!input)
        if (OutputSlot* slot = FindOutput(id)) slot->FailCode = code;
}

bool MemoryBackend::Feed(int input, std::uint32_t millis, const std::vector<std::uint8_t>& bytes) {
    return Feed(input, millis, bytes.data(), bytes.size());
}

bool MemoryBackend::Feed(int input, std::uint32_t millis, const std::uint8_t* bytes, std::size_t count) {
    if (input < 0 || input >= static_cast<int>(inputs_.size()) || !inputs_[input].Open) return false;
    inputs_[input].Open->Deliver(bytes, count, millis);
    return true;
}

MemoryBackend::OutputSlot* MemoryBackend::FindOutput(int id) {
    if (id == -1) return &mapper_;
    if (id < 0 || id >= static_cast<int>(outputs_.size())) return nullptr;
    return &outputs_[id];
}

const MemoryBackend::OutputSlot* MemoryBackend::FindOutput(int id) const {
    return const_cast<MemoryBackend*>(this)->FindOutput(id);
}

std::vector<SentMessage> MemoryBackend::Sent(int output) const {
    std::lock_guard lock(mutex_);
    const OutputSlot* slot = FindOutput(output);
    return slot ? slot->Sent : std::vector<SentMessage>{};
}

void MemoryBackend::ClearSent(int output) {
    std::lock_guard lock(mutex_);
    if (OutputSlot* slot = FindOutput(output)) slot->Sent.clear();
}

std::uint32_t MemoryBackend::Volume(int output) const {
    const OutputSlot* slot = FindOutput(output);
    return slot ? slot->Volume : 0;
}

bool MemoryBackend::IsInputOpen(int input) const {
    return input >= 0 && input < static_cast<int>(inputs_.size()) && inputs_[input].Open;
}

bool MemoryBackend::IsInputStarted(int input) const {
    return IsInputOpen(input) && inputs_[static_cast<std::size_t>(input)].Open->Started();
}

bool MemoryBackend::IsOutputOpen(int output) const {
    const OutputSlot* slot = FindOutput(output);
    return slot && slot->Open;
}

int MemoryBackend::InputCount() { return static_cast<int>(inputs_.size()); }
int MemoryBackend::OutputCount() { return static_cast<int>(outputs_.size()); }

int MemoryBackend::InputCaps(int id, DeviceCaps& caps) {
    if (id < 0 || id >= static_cast<int>(inputs_.size())) return result::BadDeviceId;
    caps = DeviceCaps{};
    caps.ProductName = inputs_[id].Name;
    caps.Api = Name();
    return result::NoError;
}

int MemoryBackend::OutputCaps(int id, DeviceCaps& caps) {
    const OutputSlot* slot = FindOutput(id);
    if (!slot) return result::BadDeviceId;
    caps = DeviceCaps{};
    caps.ProductName = slot->Name;
    caps.Api = Name();
    return result::NoError;
}

int MemoryBackend::OpenInput(int id, DriverCallback callback, void* instance, std::unique_ptr<InputDevice>& device) {
    if (id < 0 || id >= static_cast<int>(inputs_.size())) return result::BadDeviceId;
    InputSlot& slot = inputs_[id];
    if (slot.FailCode != 0) return std::exchange(slot.FailCode, 0);
    if (slot.Open) return result::Allocated;
    auto input = std::make_unique<Input>(*this, id, callback, instance);
    slot.Open = input.get();
    device = std::move(input);
    return result::NoError;
}

int MemoryBackend::OpenOutput(int id, DriverCallback callback, void* instance, std::unique_ptr<OutputDevice>& device) {
    OutputSlot* slot = FindOutput(id);
    if (!slot) return result::BadDeviceId;
    if (slot->FailCode != 0) return std::exchange(slot->FailCode, 0);
    if (slot->Open) return result::Allocated;
    auto output = std::make_unique<Output>(*this, *slot, callback, instance);
    slot->Open = output.get();
    device = std::move(output);
    return result::NoError;
}

int MemoryBackend::SetOutputVolume(int id, std::uint32_t volume) {
    OutputSlot* slot = FindOutput(id);
    if (!slot) return result::BadDeviceId;
    slot->Volume = volume;
    return result::NoError;
}

std::string MemoryBackend::ApplyAudioSettings(const AudioSettings& settings) {
    std::lock_guard lock(mutex_);
    audio_ = settings;
    return "";
}

std::optional<AudioSettings> MemoryBackend::AudioApplied() const {
    std::lock_guard lock(mutex_);
    return audio_;
}

}  // namespace chordella::midi
