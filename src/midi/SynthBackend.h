#pragma once
// The built-in synth as a MIDI backend: one output, id -1 (where Windows keeps its MIDI
// mapper), named "Chordella Synth". Opening it opens the system's audio and loads the
// SoundFont; without an audio device the open fails at once with NoAudioDevice ("No audio
// output device"). SetVolume sets the synth's gain. Control thread for everything.

#include <memory>
#include <string>

#include "midi/MidiBackend.h"
#include "midi/Synth.h"

namespace chordella::midi {

class SynthBackend final : public MidiBackend {
public:
    static constexpr const char* SynthName = "Chordella Synth";

    explicit SynthBackend(std::string soundFont = FindSoundFont());
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

private:
    class Output;
    void Release();

    std::string soundFont_;
    std::unique_ptr<Synth> synth_;  // shared by every open output
    int openCount_ = 0;
    float gain_ = Synth::DefaultGain;
    std::string lastError_;
};

}  // namespace chordella::midi
