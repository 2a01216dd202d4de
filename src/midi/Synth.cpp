#include "midi/Synth.h"

#include <algorithm>
#include <cstdlib>

#include "midi/DriverMessages.h"
#include "midi/FluidLibrary.h"
#include "midi/MidiBackend.h"
#include "platform/Files.h"

namespace chordella::midi {

namespace {

void FromFluid(int level, const char* message, void*) {
    if (level == FLUID_DBG) return;
    NoteDriverMessage("FluidSynth", message ? message : "");
}

}  // namespace

void CaptureSynthMessages() {
    std::string error;
    const FluidLibrary* fluid = LoadFluidLibrary(error);
    if (fluid == nullptr) return;  // no synthesizer, no messages from it
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid->fluid_set_log_function(level, &FromFluid, nullptr);
}

std::string FindSoundFont() {
    if (const char* chosen = std::getenv("CHORDELLA_SOUNDFONT"); chosen && platform::FileExists(chosen)) return chosen;
    for (const char* path : {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                             "/usr/share/sounds/sf2/TimGM6mb.sf2"})
        if (platform::FileExists(path)) return path;
    return "";
}

std::unique_ptr<Synth> Synth::Create(int sampleRate, std::string& error, int cpuCores) {
    const FluidLibrary* fluid = LoadFluidLibrary(error);
    if (fluid == nullptr) return nullptr;
    CaptureSynthMessages();
    CaptureDriverMessages();
    std::unique_ptr<Synth> synth(new Synth());
    synth->fluid_ = fluid;
    synth->sampleRate_ = sampleRate;
    synth->settings_ = synth->fluid_->new_fluid_settings();
    if (!synth->settings_) {
        error = "FluidSynth cannot create its settings";
        return nullptr;
    }
    synth->fluid_->fluid_settings_setnum(synth->settings_, "synth.sample-rate", sampleRate);
    synth->fluid_->fluid_settings_setnum(synth->settings_, "synth.gain", DefaultGain);
    synth->fluid_->fluid_settings_setint(synth->settings_, "synth.cpu-cores", std::max(1, cpuCores));
    synth->fluid_->fluid_settings_setint(synth->settings_, "audio.jack.autoconnect", 1);
    synth->fluid_->fluid_settings_setstr(synth->settings_, "audio.jack.id", "Chordella Synth");
    synth->synth_ = synth->fluid_->new_fluid_synth(synth->settings_);
    if (!synth->synth_) {
        error = "FluidSynth cannot create a synthesizer: " + LastDriverMessage();
        return nullptr;
    }
    return synth;
}

Synth::~Synth() {
    if (audio_) fluid_->delete_fluid_audio_driver(audio_);
    if (synth_) fluid_->delete_fluid_synth(synth_);
    if (settings_) fluid_->delete_fluid_settings(settings_);
}

bool Synth::StartAudio(std::string& error) {
    if (audio_) return true;
    for (const char* driver : {"jack", "pulseaudio", "alsa"}) {
        fluid_->fluid_settings_setstr(settings_, "audio.driver", driver);
        audio_ = fluid_->new_fluid_audio_driver(settings_, synth_);
        if (audio_) return true;
    }
    error = "No audio output device";
    return false;
}

bool Synth::LoadSoundFont(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "No General MIDI SoundFont found (install fluid-soundfont-gm or timgm6mb-soundfont)";
        return false;
    }
    if (fluid_->fluid_synth_sfload(synth_, path.c_str(), 1) == FLUID_FAILED) {
        error = "Cannot load the SoundFont " + path + ": " + LastDriverMessage();
        return false;
    }
    return true;
}

bool Synth::SendPacked(std::uint32_t packed) noexcept {
    const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
                                   static_cast<std::uint8_t>(packed >> 16)};
    const int length = ShortMessageLength(bytes[0]);
    return length > 0 && Send(bytes, static_cast<std::size_t>(length));
}

bool Synth::Send(const std::uint8_t* bytes, std::size_t count) noexcept {
    if (count == 0 || bytes[0] < 0x80) return false;
    const std::uint8_t status = bytes[0];
    if (status == 0xF0) {
        // FluidSynth takes the message without its F0 … F7 frame.
        if (count < 2 || bytes[count - 1] != 0xF7) return false;
        return fluid_->fluid_synth_sysex(synth_, reinterpret_cast<const char*>(bytes + 1), static_cast<int>(count - 2),
                                 nullptr, nullptr, nullptr, 0) == FLUID_OK;
    }
    const int length = ShortMessageLength(status);
    if (length == 0 || count < static_cast<std::size_t>(length)) return false;
    for (int i = 1; i < length; ++i)
        if (bytes[i] > 0x7F) return false;
    const int channel = status & 0x0F;
    const int data1 = length > 1 ? bytes[1] : 0;
    const int data2 = length > 2 ? bytes[2] : 0;
    switch (status & 0xF0) {
        case 0x80: fluid_->fluid_synth_noteoff(synth_, channel, data1); return true;
        case 0x90: fluid_->fluid_synth_noteon(synth_, channel, data1, data2); return true;
        case 0xA0: fluid_->fluid_synth_key_pressure(synth_, channel, data1, data2); return true;
        case 0xB0: fluid_->fluid_synth_cc(synth_, channel, data1, data2); return true;
        case 0xC0: fluid_->fluid_synth_program_change(synth_, channel, data1); return true;
        case 0xD0: fluid_->fluid_synth_channel_pressure(synth_, channel, data1); return true;
        case 0xE0: fluid_->fluid_synth_pitch_bend(synth_, channel, data1 | data2 << 7); return true;
        default: break;
    }
    if (status == 0xFF) fluid_->fluid_synth_system_reset(synth_);
    return true;  // other system messages mean nothing to a synthesizer
}

void Synth::SetGain(float gain) { fluid_->fluid_synth_set_gain(synth_, gain); }

void Synth::Render(std::size_t frames, std::vector<std::int16_t>& samples) {
    const std::size_t start = samples.size();
    samples.resize(start + frames * 2);
    std::int16_t* out = samples.data() + start;
    // FluidSynth renders in blocks; large requests are split to keep its buffers small.
    constexpr std::size_t Block = 4096;
    for (std::size_t done = 0; done < frames; done += Block) {
        const int length = static_cast<int>(std::min(Block, frames - done));
        std::int16_t* at = out + done * 2;
        fluid_->fluid_synth_write_s16(synth_, length, at, 0, 2, at, 1, 2);
    }
}

}  // namespace chordella::midi
