#pragma once
// The built-in General MIDI synthesizer: FluidSynth with a SoundFont found on the system.
// It renders floating-point samples for whoever drives it: the live engine on the audio
// thread (SynthEngine) or the offline renderer for a file.
//
// FluidSynth is loaded when the first synthesizer is made (Create fails when it is missing).
// Its own locking is off: one thread at a time uses a synthesizer (the control thread while
// setting it up, then the thread that renders). Send, RenderFloat and SetEffects allocate
// nothing. FluidSynth's messages are routed to the driver-message log.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "midi/SoundFonts.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;

namespace chordella::midi {

struct FluidLibrary;

// How a synthesizer is used: live, every sample is ready before the audio starts; offline,
// voices render on up to CpuCores threads and a preset's samples are read when a program
// first selects it (a compressed SoundFont loads in a fraction of the time).
struct SynthUse {
    int CpuCores = 1;
    bool SamplesOnDemand = false;
};

class Synth {
public:

    // A synthesizer without audio output; nullptr with `error` set when it cannot be made.
    static std::unique_ptr<Synth> Create(int sampleRate, std::string& error, SynthUse use = {});
    ~Synth();
    Synth(const Synth&) = delete;
    Synth& operator=(const Synth&) = delete;

    // Loads the SoundFont and sets the gain that leaves headroom for a full band with it.
    bool LoadSoundFont(const std::string& path, std::string& error);

    // One complete message: a short message or a whole system-exclusive message.
    // Answers false for bytes that are not one.
    bool Send(const std::uint8_t* bytes, std::size_t count) noexcept;
    bool SendPacked(std::uint32_t packed) noexcept;
    // `frames` frames of each channel, overwritten.
    void RenderFloat(std::size_t frames, float* left, float* right) noexcept;
    // Levels 0 … 1.
    void SetEffects(bool reverb, float reverbLevel, bool chorus, float chorusLevel) noexcept;
    int SampleRate() const { return sampleRate_; }
    // The gain FluidSynth applies to every voice (set by LoadSoundFont).
    float Gain() const { return gain_; }

private:
    Synth() = default;

    const FluidLibrary* fluid_ = nullptr;  // loaded on first use
    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    int sampleRate_ = 44100;
    float gain_ = 0.2f;
};

// Routes FluidSynth's log into the driver-message log. Safe to call again.
void CaptureSynthMessages();

}  // namespace chordella::midi
