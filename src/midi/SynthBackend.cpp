#include "midi/SynthBackend.h"

namespace chordella::midi {

class SynthBackend::Output final : public OutputDevice {
public:
    Output(SynthBackend& owner, DriverCallback callback, void* instance)
        : owner_(owner), callback_(callback), instance_(instance) {}
    ~Output() override {
        if (!closed_) owner_.Release();
    }

    int ShortMsg(std::uint32_t packed) override {
        return owner_.synth_->SendPacked(packed) ? result::NoError : result::InvalidParameter;
    }
    int LongMsg(MidiHeader& header) override {
        if (!(header.Flags.load() & HeaderPrepared)) return result::Unprepared;
        if (!owner_.synth_->Send(header.Data, header.BufferLength)) return result::InvalidParameter;
        header.Flags.fetch_or(HeaderDone);
        callback_(DriverMessage::OutputDone, instance_, reinterpret_cast<std::uintptr_t>(&header), 0);
        return result::NoError;
    }
    int Close() override {
        if (!closed_) owner_.Release();
        closed_ = true;
        return result::NoError;
    }

private:
    SynthBackend& owner_;
    DriverCallback callback_;
    void* instance_;
    bool closed_ = false;
};

SynthBackend::SynthBackend(std::string soundFont) : soundFont_(std::move(soundFont)) {}

SynthBackend::~SynthBackend() = default;

int SynthBackend::OutputCaps(int id, DeviceCaps& caps) {
    if (id != -1) return result::BadDeviceId;
    caps = DeviceCaps{};
    caps.ProductName = SynthName;
    caps.Api = Name();
    caps.Technology = 7;  // a software synthesizer
    caps.Voices = 256;
    caps.Notes = 256;
    return result::NoError;
}

int SynthBackend::OpenOutput(int id, DriverCallback callback, void* instance, std::unique_ptr<OutputDevice>& device) {
    if (id != -1) return result::BadDeviceId;
    if (!synth_) {
        // Audio first: without a device the open fails before the SoundFont is read.
        auto synth = Synth::Create(44100, lastError_);
        if (!synth) return result::DriverError;
        if (!synth->StartAudio(lastError_)) return result::NoAudioDevice;
        if (!synth->LoadSoundFont(soundFont_, lastError_)) return result::DriverError;
        synth->SetGain(gain_);
        synth_ = std::move(synth);
    }
    ++openCount_;
    device = std::make_unique<Output>(*this, callback, instance);
    return result::NoError;
}

void SynthBackend::Release() {
    if (--openCount_ <= 0) {
        openCount_ = 0;
        synth_.reset();
    }
}

int SynthBackend::SetOutputVolume(int id, std::uint32_t volume) {
    if (id != -1) return result::BadDeviceId;
    const std::uint32_t right = volume >> 16;
    const std::uint32_t left = volume & 0xFFFF;
    // One gain for both sides: the louder one, full scale giving the usual gain.
    gain_ = Synth::DefaultGain * static_cast<float>(std::max(left, right)) / 65535.0f;
    if (synth_) synth_->SetGain(gain_);
    return result::NoError;
}

std::optional<std::string> SynthBackend::ErrorText(int code) {
    if (code == result::DriverError && !lastError_.empty()) return lastError_;
    return StandardErrorText(code);
}

}  // namespace chordella::midi
