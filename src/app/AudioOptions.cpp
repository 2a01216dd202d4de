#include "app/AudioOptions.h"

#include <cstdio>
#include <cstdlib>

#include "app/Settings.h"
#include "data/ConfigState.h"
#include "midi/SoundFonts.h"
#include "midi/SynthAudio.h"

namespace chordella::app {

namespace {

// "off", "on" or a level 0 … 100; false for anything else.
bool ParseEffect(const std::string& text, bool& on, int& level) {
    if (text == "off") {
        on = false;
        return true;
    }
    if (text == "on") {
        on = true;
        return true;
    }
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 0 || value > 100) return false;
    on = value > 0;
    if (value > 0) level = static_cast<int>(value);
    return true;
}

std::string Millis(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", ms);
    return text;
}

std::string Effect(bool on, int level) { return on ? std::to_string(level) + " %" : "off"; }

}  // namespace

midi::AudioSettings AudioSettingsOf(const core::Options& options) {
    midi::AudioSettings settings;
    settings.Driver = midi::ParseAudioDriver(options.AudioDriver).value_or(midi::AudioDriver::Automatic);
    settings.Device = options.AudioDevice;
    settings.SampleRate = options.SampleRate;
    settings.BufferFrames = options.AudioBuffer;
    settings.SoundFont = options.SoundFont;
    settings.Volume = options.SynthVolume;
    settings.Reverb = options.SynthReverb;
    settings.ReverbLevel = options.SynthReverbLevel;
    settings.Chorus = options.SynthChorus;
    settings.ChorusLevel = options.SynthChorusLevel;
    midi::KeepAudioSettingsInRange(settings);
    return settings;
}

void StoreAudioSettings(const midi::AudioSettings& settings, core::Options& options) {
    options.AudioDriver = std::string(midi::AudioDriverName(settings.Driver));
    options.AudioDevice = settings.Device;
    options.SampleRate = settings.SampleRate;
    options.AudioBuffer = settings.BufferFrames;
    options.SoundFont = settings.SoundFont;
    options.SynthVolume = settings.Volume;
    options.SynthReverb = settings.Reverb;
    options.SynthReverbLevel = settings.ReverbLevel;
    options.SynthChorus = settings.Chorus;
    options.SynthChorusLevel = settings.ChorusLevel;
}

midi::AudioSettings LoadAudioSettings(const platform::Paths& paths) {
    core::Options options;
    data::ConfigState config;
    Settings(paths).Load(options, config);
    return AudioSettingsOf(options);
}

bool ApplyAudioFlags(const AudioFlags& flags, midi::AudioSettings& settings, std::string& error) {
    midi::AudioSettings changed = settings;
    if (!flags.driver.empty()) {
        const auto driver = midi::ParseAudioDriver(flags.driver);
        if (!driver) {
            error = "--audio-driver " + flags.driver + ": not a driver (auto, jack, pulseaudio, alsa)";
            return false;
        }
        changed.Driver = *driver;
    }
    if (!flags.device.empty()) changed.Device = flags.device;
    if (flags.sampleRate != 0) {
        changed.SampleRate = flags.sampleRate;
        midi::KeepAudioSettingsInRange(changed);
        if (changed.SampleRate != flags.sampleRate) {
            error = "--sample-rate " + std::to_string(flags.sampleRate) + ": not a rate (44100, 48000, 88200, 96000)";
            return false;
        }
    }
    if (flags.buffer != 0) {
        if (flags.buffer < midi::AudioSettings::MinBufferFrames || flags.buffer > midi::AudioSettings::MaxBufferFrames) {
            error = "--buffer " + std::to_string(flags.buffer) + ": frames from " +
                    std::to_string(midi::AudioSettings::MinBufferFrames) + " to " +
                    std::to_string(midi::AudioSettings::MaxBufferFrames);
            return false;
        }
        changed.BufferFrames = flags.buffer;
    }
    if (!flags.soundFont.empty()) {
        midi::SoundFontInfo info;
        std::string why;
        if (!midi::ReadSoundFontInfo(flags.soundFont, info, why)) {
            error = flags.soundFont + ": not a SoundFont (" + why + ")";
            return false;
        }
        changed.SoundFont = flags.soundFont;
    }
    if (flags.volume >= 0) {
        if (flags.volume > 100) {
            error = "--volume " + std::to_string(flags.volume) + ": 0 … 100";
            return false;
        }
        changed.Volume = flags.volume;
    }
    if (!flags.reverb.empty() && !ParseEffect(flags.reverb, changed.Reverb, changed.ReverbLevel)) {
        error = "--reverb " + flags.reverb + ": off, on or a level 0 … 100";
        return false;
    }
    if (!flags.chorus.empty() && !ParseEffect(flags.chorus, changed.Chorus, changed.ChorusLevel)) {
        error = "--chorus " + flags.chorus + ": off, on or a level 0 … 100";
        return false;
    }
    settings = changed;
    return true;
}

std::string DescribeSoundFont(const std::string& path) {
    if (path.empty()) return std::string("none installed (install ") + midi::SoundFontPackages + ")";
    midi::SoundFontInfo info;
    std::string why;
    if (!midi::ReadSoundFontInfo(path, info, why)) return path + " (not a SoundFont: " + why + ")";
    return info.Name.empty() ? path : info.Name + " (" + path + ")";
}

std::string DescribeSynth(const midi::AudioSettings& settings, const midi::SynthStatus* status) {
    std::string text = "Built-in synth (output -1):\n";
    const std::string font = status && status->Playing ? status->SoundFont : midi::FindSoundFont(settings.SoundFont);
    text += "  SoundFont  " + DescribeSoundFont(font) + "\n";
    text += "  Audio      ";
    if (status && status->Playing) {
        text += std::string(midi::AudioDriverCaption(status->Driver));
        if (!status->Device.empty()) text += " " + status->Device;
        text += ", " + std::to_string(status->SampleRate) + " Hz, " + std::to_string(status->Periods) + " × " +
                std::to_string(status->BufferFrames) + " frames: " + Millis(status->LatencyMillis()) + " to the speaker";
    } else {
        text += std::string(midi::AudioDriverCaption(settings.Driver));
        if (settings.Driver == midi::AudioDriver::Automatic)
            text += midi::JackServerAnswers() ? " (a JACK server runs: JACK, its rate and period)"
                                              : " (PipeWire/PulseAudio, else ALSA)";
        if (!settings.Device.empty()) text += ", device " + settings.Device;
        text += ", " + std::to_string(settings.SampleRate) + " Hz, " + std::to_string(midi::AudioSettings::Periods) +
                " × " + std::to_string(settings.BufferFrames) + " frames (" +
                Millis(midi::BufferMillis(settings.BufferFrames * midi::AudioSettings::Periods, settings.SampleRate)) +
                ")";
        if (status && !status->Problem.empty()) text += "; " + status->Problem;
    }
    text += "\n  Volume " + std::to_string(settings.Volume) + " %, reverb " +
            Effect(settings.Reverb, settings.ReverbLevel) + ", chorus " + Effect(settings.Chorus, settings.ChorusLevel) +
            "\n";
    return text;
}

}  // namespace chordella::app
