#pragma once
// Where the live synth's sound goes. Under JACK it is our own client "Chordella Synth" with
// the ports "left" and "right", connected to the system's playback ports; its process
// callback renders each period with the period's time, so the engine places every message
// at its own frame. Through PulseAudio (also PipeWire's) and ALSA it is FluidSynth's audio
// driver with our render callback, its period and buffer set explicitly.
//
// Control thread for everything but the render callbacks, which run on the driver's
// audio thread and only call SynthEngine::Render.

#include <memory>
#include <string>
#include <vector>

#include "midi/AudioSettings.h"

namespace chordella::midi {

class SynthEngine;

class SynthAudio {
public:
    virtual ~SynthAudio() = default;
    virtual AudioDriver Driver() const = 0;
    virtual std::string Device() const = 0;
    virtual int SampleRate() const = 0;
    virtual int BufferFrames() const = 0;  // one period
    virtual int Periods() const = 0;
    // Latency the system adds after our buffer (JACK's playback latency), in frames.
    virtual int PlaybackLatencyFrames() const { return 0; }
    // Starts calling the engine for every period. False with `error` set.
    virtual bool Start(SynthEngine& engine, std::string& error) = 0;
    // The audio went away (the JACK server stopped).
    virtual bool Gone() const { return false; }
};

// A JACK server runs and answers (never starts one).
bool JackServerAnswers();

// Our JACK client, not started yet; nullptr with `error` when no server answers.
std::unique_ptr<SynthAudio> OpenJackAudio(std::string& error);

// FluidSynth's PulseAudio or ALSA driver with the rate, device and buffer of `settings`,
// rendering through `engine` at once; nullptr with `error` when the driver does not open.
std::unique_ptr<SynthAudio> StartFluidAudio(AudioDriver driver, const AudioSettings& settings, SynthEngine& engine,
                                            std::string& error);

// The output devices a driver offers by name (ALSA's PCM devices); empty where the driver
// has no choice of device (JACK connects by ports, PulseAudio has its default sink).
std::vector<std::string> AudioDevices(AudioDriver driver);

}  // namespace chordella::midi
