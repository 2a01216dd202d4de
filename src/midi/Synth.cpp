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

// FluidSynth's gain for a SoundFont. Measured on the bundled songs (the loudest a blues with
// the melody on top): at these gains the three fonts Debian packages play at about the same
// loudness, −19 dBFS RMS on average, and the loudest peaks of the densest song come within
// 1 dB of full scale, where the output stage's limiter takes over. A font we do not know
// gets the smallest gain, the one of the loudest font.
float StagingGain(const std::string& path) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    struct Known {
        const char* Prefix;
        float Gain;
    };
    static constexpr Known Fonts[] = {{"MuseScore_General", 0.93f}, {"FluidR3", 0.83f}, {"TimGM6mb", 0.97f}};
    for (const Known& font : Fonts)
        if (name.rfind(font.Prefix, 0) == 0) return font.Gain;
    return 0.83f;
}

}  // namespace

void CaptureSynthMessages() {
    std::string error;
    const FluidLibrary* fluid = LoadFluidLibrary(error);
    if (fluid == nullptr) return;  // no synthesizer, no messages from it
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid->fluid_set_log_function(level, &FromFluid, nullptr);
}

std::unique_ptr<Synth> Synth::Create(int sampleRate, std::string& error, SynthUse use) {
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
    synth->fluid_->fluid_settings_setnum(synth->settings_, "synth.gain", synth->gain_);
    synth->fluid_->fluid_settings_setint(synth->settings_, "synth.cpu-cores", std::max(1, use.CpuCores));
    synth->fluid_->fluid_settings_setint(synth->settings_, "synth.dynamic-sample-loading", use.SamplesOnDemand ? 1 : 0);
    // One thread at a time uses the synthesizer; FluidSynth's own lock would be taken on the
    // audio thread for every period.
    synth->fluid_->fluid_settings_setint(synth->settings_, "synth.threadsafe-api", 0);
    synth->synth_ = synth->fluid_->new_fluid_synth(synth->settings_);
    if (!synth->synth_) {
        error = "FluidSynth cannot create a synthesizer: " + LastDriverMessage();
        return nullptr;
    }
    return synth;
}

Synth::~Synth() {
    if (synth_) fluid_->delete_fluid_synth(synth_);
    if (settings_) fluid_->delete_fluid_settings(settings_);
}

bool Synth::LoadSoundFont(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = std::string("No General MIDI SoundFont found (install ") + SoundFontPackages + ")";
        return false;
    }
    if (fluid_->fluid_synth_sfload(synth_, path.c_str(), 1) == FLUID_FAILED) {
        error = "Cannot load the SoundFont " + path + ": " + LastDriverMessage();
        return false;
    }
    gain_ = StagingGain(path);
    fluid_->fluid_synth_set_gain(synth_, gain_);
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

void Synth::RenderFloat(std::size_t frames, float* left, float* right) noexcept {
    // FluidSynth renders in blocks; large requests are split to keep its buffers small.
    constexpr std::size_t Block = 4096;
    for (std::size_t done = 0; done < frames; done += Block) {
        const int length = static_cast<int>(std::min(Block, frames - done));
        fluid_->fluid_synth_write_float(synth_, length, left + done, 0, 1, right + done, 0, 1);
    }
}

void Synth::SetEffects(bool reverb, float reverbLevel, bool chorus, float chorusLevel) noexcept {
    constexpr int AllGroups = -1;
    fluid_->fluid_synth_reverb_on(synth_, AllGroups, reverb ? 1 : 0);
    fluid_->fluid_synth_set_reverb_group_level(synth_, AllGroups, std::clamp(reverbLevel, 0.0f, 1.0f));
    fluid_->fluid_synth_chorus_on(synth_, AllGroups, chorus ? 1 : 0);
    // FluidSynth's chorus level runs to 10; beyond 4 it only distorts.
    fluid_->fluid_synth_set_chorus_group_level(synth_, AllGroups, 4.0 * std::clamp(chorusLevel, 0.0f, 1.0f));
}

}  // namespace chordella::midi
