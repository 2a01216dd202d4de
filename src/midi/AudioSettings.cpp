#include "midi/AudioSettings.h"

#include <algorithm>

#include "platform/TextCase.h"

namespace chordella::midi {

std::optional<AudioDriver> ParseAudioDriver(std::string_view text) {
    for (std::size_t i = 0; i < AudioDriverNames.size(); ++i)
        if (platform::SameNoCase(text, AudioDriverNames[i]) || platform::SameNoCase(text, AudioDriverCaptions[i]))
            return static_cast<AudioDriver>(i);
    if (platform::SameNoCase(text, "automatic")) return AudioDriver::Automatic;
    if (platform::SameNoCase(text, "pipewire") || platform::SameNoCase(text, "pulse")) return AudioDriver::PulseAudio;
    return std::nullopt;
}

std::string_view AudioDriverName(AudioDriver driver) { return AudioDriverNames[static_cast<std::size_t>(driver)]; }

std::string_view AudioDriverCaption(AudioDriver driver) {
    return AudioDriverCaptions[static_cast<std::size_t>(driver)];
}

void KeepAudioSettingsInRange(AudioSettings& settings) {
    const AudioSettings defaults;
    const auto driver = static_cast<int>(settings.Driver);
    if (driver < 0 || driver >= static_cast<int>(AudioDriverNames.size())) settings.Driver = defaults.Driver;
    if (std::find(SampleRates.begin(), SampleRates.end(), settings.SampleRate) == SampleRates.end())
        settings.SampleRate = defaults.SampleRate;
    if (settings.BufferFrames < AudioSettings::MinBufferFrames || settings.BufferFrames > AudioSettings::MaxBufferFrames)
        settings.BufferFrames = defaults.BufferFrames;
    if (settings.Volume < 0 || settings.Volume > 100) settings.Volume = defaults.Volume;
    if (settings.ReverbLevel < 0 || settings.ReverbLevel > 100) settings.ReverbLevel = defaults.ReverbLevel;
    if (settings.ChorusLevel < 0 || settings.ChorusLevel > 100) settings.ChorusLevel = defaults.ChorusLevel;
}

double BufferMillis(int frames, int sampleRate) {
    return sampleRate > 0 ? 1000.0 * frames / sampleRate : 0.0;
}

double SynthStatus::LatencyMillis() const {
    return BufferMillis(BufferFrames * std::max(Periods, 1) + PlaybackLatencyFrames, SampleRate);
}

bool NeedsReopen(const AudioSettings& before, const AudioSettings& after) {
    return before.Driver != after.Driver || before.Device != after.Device || before.SampleRate != after.SampleRate ||
           before.BufferFrames != after.BufferFrames || before.SoundFont != after.SoundFont;
}

}  // namespace chordella::midi
