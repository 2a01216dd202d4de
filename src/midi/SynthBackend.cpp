#include "midi/SynthBackend.h"

#include <algorithm>

#include "midi/OutputStage.h"
#include "midi/SoundFonts.h"
#include "midi/Synth.h"
#include "midi/SynthAudio.h"
#include "midi/SynthEngine.h"
#include "platform/Clock.h"

namespace chordella::midi {

class SynthBackend::Output final : public OutputDevice {
public:
    Output(SynthBackend& owner, DriverCallback callback, void* instance)
        : owner_(owner), callback_(callback), instance_(instance) {}
    ~Output() override {
        if (!closed_) owner_.Release();
    }

    int ShortMsg(std::uint32_t packed) override {
        const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
                                       static_cast<std::uint8_t>(packed >> 16)};
        const int length = ShortMessageLength(bytes[0]);
        if (length == 0) return result::InvalidParameter;
        return owner_.Send(bytes, static_cast<std::size_t>(length)) ? result::NoError : result::InvalidParameter;
    }
    int LongMsg(MidiHeader& header) override {
        if (!(header.Flags.load() & HeaderPrepared)) return result::Unprepared;
        if (!owner_.Send(header.Data, header.BufferLength)) return result::InvalidParameter;
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

SynthBackend::SynthBackend(AudioSettings settings) : settings_(std::move(settings)) {
    KeepAudioSettingsInRange(settings_);
}

SynthBackend::~SynthBackend() { Stop(); }

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
    if (!audio_) {
        const int code = Start();
        if (code != result::NoError) return code;
    }
    ++openCount_;
    device = std::make_unique<Output>(*this, callback, instance);
    return result::NoError;
}

int SynthBackend::Start() {
    std::vector<AudioDriver> order = {settings_.Driver};
    if (settings_.Driver == AudioDriver::Automatic) order = {AudioDriver::Jack, AudioDriver::PulseAudio, AudioDriver::Alsa};
    // Audio first: without a device the open fails before the SoundFont is read. The audio
    // thread renders silence until the engine is ready.
    for (AudioDriver driver : order) {
        std::unique_ptr<SynthAudio> jack;
        int rate = settings_.SampleRate;
        if (driver == AudioDriver::Jack) {
            if (!JackServerAnswers() || !(jack = OpenJackAudio(lastError_))) continue;
            rate = jack->SampleRate();
        }
        auto synth = Synth::Create(rate, lastError_);
        if (!synth) return result::DriverError;
        auto engine = std::make_unique<SynthEngine>(*synth, rate);
        std::unique_ptr<SynthAudio> audio =
            jack ? std::move(jack) : StartFluidAudio(driver, settings_, *engine, lastError_);
        if (!audio || (audio->Driver() == AudioDriver::Jack && !audio->Start(*engine, lastError_))) continue;
        synth_ = std::move(synth);
        engine_ = std::move(engine);
        audio_ = std::move(audio);
        break;
    }
    if (!audio_) {
        lastError_ = "No audio output device";
        return result::NoAudioDevice;
    }
    soundFont_ = FindSoundFont(settings_.SoundFont);
    if (!synth_->LoadSoundFont(soundFont_, lastError_)) {
        Stop();
        return result::DriverError;
    }
    ApplyLevels();
    const std::int64_t now = platform::NowMicros();
    channels_.Replay([&](std::span<const std::uint8_t> m) { engine_->Queue(m.data(), m.size(), now); });
    engine_->Ready();
    return result::NoError;
}

void SynthBackend::Stop() {
    audio_.reset();  // no period renders after this
    engine_.reset();
    synth_.reset();
}

void SynthBackend::Release() {
    if (--openCount_ <= 0) {
        openCount_ = 0;
        Stop();
        channels_.Forget();  // a synth opened later starts afresh
    }
}

bool SynthBackend::Send(const std::uint8_t* bytes, std::size_t count) {
    if (!engine_) return false;
    if (!engine_->Queue(bytes, count, sourceMicros_ != 0 ? sourceMicros_ : platform::NowMicros())) return false;
    channels_.Note(std::span(bytes, count));
    return true;
}

void SynthBackend::ApplyLevels() {
    if (!engine_) return;
    engine_->SetVolume(VolumeCurve(settings_.Volume) * deviceVolume_);
    engine_->SetEffects({settings_.Reverb, settings_.ReverbLevel / 100.0f, settings_.Chorus,
                         settings_.ChorusLevel / 100.0f});
}

std::string SynthBackend::ApplyAudioSettings(const AudioSettings& wanted) {
    AudioSettings settings = wanted;
    KeepAudioSettingsInRange(settings);
    if (!settings.SoundFont.empty()) {
        SoundFontInfo info;
        std::string why;
        if (!ReadSoundFontInfo(settings.SoundFont, info, why)) return settings.SoundFont + ": not a SoundFont (" + why + ")";
    }
    const AudioSettings before = settings_;
    settings_ = settings;
    if (!audio_ || !NeedsReopen(before, settings)) {
        ApplyLevels();
        return "";
    }
    Stop();
    if (Start() == result::NoError) return "";
    const std::string why = lastError_;
    settings_ = before;
    Start();
    return why;
}

std::optional<SynthStatus> SynthBackend::SynthInUse() {
    SynthStatus status;
    if (audio_ && audio_->Gone()) Stop();
    if (!audio_) {
        status.Problem = lastError_;
        status.SoundFont = FindSoundFont(settings_.SoundFont);
        return status;
    }
    status.Playing = true;
    status.Driver = audio_->Driver();
    status.Device = audio_->Device();
    status.SampleRate = audio_->SampleRate();
    status.BufferFrames = audio_->BufferFrames();
    status.Periods = audio_->Periods();
    status.PlaybackLatencyFrames = audio_->PlaybackLatencyFrames();
    status.SoundFont = soundFont_;
    SoundFontInfo info;
    std::string why;
    if (ReadSoundFontInfo(soundFont_, info, why)) status.SoundFontName = info.Name;
    return status;
}

int SynthBackend::SetOutputVolume(int id, std::uint32_t volume) {
    if (id != -1) return result::BadDeviceId;
    const std::uint32_t right = volume >> 16;
    const std::uint32_t left = volume & 0xFFFF;
    // One gain for both sides: the louder one.
    deviceVolume_ = static_cast<float>(std::max(left, right)) / 65535.0f;
    ApplyLevels();
    return result::NoError;
}

std::optional<std::string> SynthBackend::ErrorText(int code) {
    if ((code == result::DriverError || code == result::NoAudioDevice) && !lastError_.empty()) return lastError_;
    return StandardErrorText(code);
}

}  // namespace chordella::midi
