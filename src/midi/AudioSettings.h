#pragma once
// How the built-in synth sounds and where it plays: the audio driver and device, the sample
// rate and buffer, the SoundFont, the master volume, reverb and chorus. The options window
// ("Audio" page), the settings file and the headless commands' flags all fill this one
// struct; the synth backend applies it.
//
// Any thread (plain values).

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace chordella::midi {

enum class AudioDriver { Automatic, Jack, PulseAudio, Alsa };

// The drivers as the options list shows them, in the order of AudioDriver.
inline constexpr std::array<std::string_view, 4> AudioDriverCaptions = {"Automatic", "JACK", "PipeWire/PulseAudio",
                                                                        "ALSA"};
// The same as the flag --audio-driver and the settings file spell them.
inline constexpr std::array<std::string_view, 4> AudioDriverNames = {"auto", "jack", "pulseaudio", "alsa"};

struct AudioSettings {
    static constexpr int DefaultSampleRate = 48000;
    // Two periods of 128 frames: 5.3 ms of buffer at 48 kHz, the smallest that played
    // without a crack here through PulseAudio and ALSA. Under JACK the server's period rules.
    static constexpr int DefaultBufferFrames = 128;
    static constexpr int Periods = 2;
    static constexpr int MinBufferFrames = 32;
    static constexpr int MaxBufferFrames = 4096;

    AudioDriver Driver = AudioDriver::Automatic;
    std::string Device;  // the driver's device ("hw:0", "default"); empty: its default
    int SampleRate = DefaultSampleRate;
    int BufferFrames = DefaultBufferFrames;  // one period
    std::string SoundFont;                   // empty: the best General MIDI SoundFont installed
    int Volume = 100;                        // master volume, 0 … 100 %
    bool Reverb = true;
    int ReverbLevel = 60;  // 0 … 100 %
    bool Chorus = true;
    int ChorusLevel = 40;  // 0 … 100 %

    bool operator==(const AudioSettings&) const = default;
};

// What the built-in synth uses now, for the options window and `chordella ports`.
struct SynthStatus {
    bool Playing = false;  // the audio runs and the SoundFont is loaded
    AudioDriver Driver = AudioDriver::Automatic;
    std::string Device;
    int SampleRate = 0;
    int BufferFrames = 0;  // one period
    int Periods = 0;
    int PlaybackLatencyFrames = 0;  // what the system adds after our buffer (JACK)
    std::string SoundFont;          // the file
    std::string SoundFontName;      // its own name
    std::string Problem;            // why it does not play, when it does not

    // Key to speaker: our buffer (under JACK one period of delay) and the system's part.
    double LatencyMillis() const;
};

// The sample rates the options list offers.
inline constexpr std::array<int, 4> SampleRates = {44100, 48000, 88200, 96000};
// The buffer sizes the options list offers (frames of one period).
inline constexpr std::array<int, 7> BufferSizes = {32, 64, 128, 256, 512, 1024, 2048};

// "auto", "jack", "pulseaudio" (also "pipewire", "pulse"), "alsa", case-insensitive.
std::optional<AudioDriver> ParseAudioDriver(std::string_view text);
std::string_view AudioDriverName(AudioDriver driver);
std::string_view AudioDriverCaption(AudioDriver driver);

// Values out of range (a hand-edited settings file, a wrong flag) set back to their defaults;
// a buffer size between two offered sizes is kept.
void KeepAudioSettingsInRange(AudioSettings& settings);

// The latency one buffer of `frames` adds at `sampleRate`, in milliseconds.
double BufferMillis(int frames, int sampleRate);

// True when a change from `before` to `after` needs the audio driver reopened (driver,
// device, rate, buffer) or the SoundFont reloaded; volume, reverb and chorus apply at once.
bool NeedsReopen(const AudioSettings& before, const AudioSettings& after);

}  // namespace chordella::midi
