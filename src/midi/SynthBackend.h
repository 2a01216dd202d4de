#pragma once
// The built-in synth as a MIDI backend: one output, id -1 (where Windows keeps its MIDI
// mapper), named "Chordella Synth". Opening it opens the audio driver the settings name
// (Automatic: JACK when a server runs, else PulseAudio or PipeWire, else ALSA) and loads the
// SoundFont; without an audio device the open fails at once with NoAudioDevice ("No audio
// output device"), before the SoundFont is read.
//
// Every message sent to it is queued for the audio thread with its time: the time of the
// key that caused it (SetSourceTime) or else the time it was sent. The master volume of the
// settings times SetVolume's gives the level. Settings that need a new driver or another
// SoundFont make the synth anew, its channels set up as they were.
//
// Control thread for everything.

#include <cstdint>
#include <memory>
#include <string>

#include "midi/AudioSettings.h"
#include "midi/ChannelMirror.h"
#include "midi/MidiBackend.h"

namespace chordella::midi {

class Synth;
class SynthAudio;
class SynthEngine;

class SynthBackend final : public MidiBackend {
public:
    static constexpr const char* SynthName = "Chordella Synth";

    explicit SynthBackend(AudioSettings settings = {});
    ~SynthBackend() override;

    std::string Name() const override { return "FluidSynth"; }
    int InputCount() override { return 0; }
    int OutputCount() override { return 0; }
    int InputCaps(int, DeviceCaps&) override { return result::BadDeviceId; }
    int OutputCaps(int id, DeviceCaps& caps) override;
    int OpenInput(int, DriverCallback, void*, std::unique_ptr<InputDevice>&) override { return result::BadDeviceId; }
    int OpenOutput(int id, DriverCallback callback, void* instance, std::unique_ptr<OutputDevice>& device) override;
    int SetOutputVolume(int id, std::uint32_t volume) override;
    std::optional<std::string> ErrorText(int code) override;

    void SetSourceTime(std::int64_t micros) override { sourceMicros_ = micros; }
    std::string ApplyAudioSettings(const AudioSettings& settings) override;
    std::optional<SynthStatus> SynthInUse() override;

    const AudioSettings& Settings() const { return settings_; }

private:
    class Output;
    // Opens the audio and loads the SoundFont; answers a result code, lastError_ says why.
    int Start();
    void Stop();
    void Release();
    bool Send(const std::uint8_t* bytes, std::size_t count);
    void ApplyLevels();

    AudioSettings settings_;
    // Torn down in this order: the audio first, so no period can still be rendering.
    std::unique_ptr<Synth> synth_;
    std::unique_ptr<SynthEngine> engine_;
    std::unique_ptr<SynthAudio> audio_;
    std::string soundFont_;  // the file loaded
    ChannelMirror channels_;  // set up again in a synth made anew
    int openCount_ = 0;
    float deviceVolume_ = 1.0f;  // SetVolume's
    std::int64_t sourceMicros_ = 0;
    std::string lastError_;
};

}  // namespace chordella::midi
