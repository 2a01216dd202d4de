#pragma once
// The built-in General MIDI synthesizer (FluidSynth with a SoundFont found on the system),
// either playing through the system's audio or rendering samples for a file.
//
// FluidSynth is loaded when the first synthesizer is made (Create fails when it is missing).
//
// Control thread for everything; Send allocates nothing. FluidSynth's messages are routed
// to the driver-message log.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;

namespace chordella::midi {

struct FluidLibrary;

// The General MIDI SoundFont to use: $CHORDELLA_SOUNDFONT when set, else FluidR3_GM
// (fluid-soundfont-gm) when installed, else the system default (TimGM6mb). "" when none.
std::string FindSoundFont();

class Synth {
public:
    static constexpr float DefaultGain = 1.0f;

    // A synthesizer without audio output; nullptr with `error` set when it cannot be made.
    // `cpuCores` above 1 renders voices on that many threads (worth it offline).
    static std::unique_ptr<Synth> Create(int sampleRate, std::string& error, int cpuCores = 1);
    ~Synth();
    Synth(const Synth&) = delete;
    Synth& operator=(const Synth&) = delete;

    // Opens the system's audio: JACK, then PulseAudio, then ALSA. False with "No audio
    // output device" when none answers.
    bool StartAudio(std::string& error);
    bool LoadSoundFont(const std::string& path, std::string& error);

    // One complete message: a short message or a whole system-exclusive message.
    // Answers false for bytes that are not one.
    bool Send(const std::uint8_t* bytes, std::size_t count) noexcept;
    bool SendPacked(std::uint32_t packed) noexcept;
    void SetGain(float gain);
    // Appends `frames` frames of interleaved 16-bit stereo.
    void Render(std::size_t frames, std::vector<std::int16_t>& samples);
    int SampleRate() const { return sampleRate_; }

private:
    Synth() = default;

    const FluidLibrary* fluid_ = nullptr;  // loaded on first use
    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    _fluid_audio_driver_t* audio_ = nullptr;
    int sampleRate_ = 44100;
};

// Routes FluidSynth's log into the driver-message log. Safe to call again.
void CaptureSynthMessages();

}  // namespace chordella::midi
