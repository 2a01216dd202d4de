#pragma once
// The backend the program uses: the system's MIDI ports (RtMidi) for ids 0 … n-1 and the
// built-in synth as output -1. Control thread for everything.

#include <memory>

#include "midi/MidiBackend.h"

namespace chordella::midi {

class CombinedBackend final : public MidiBackend {
public:
    // `mapper` serves output id -1 only.
    CombinedBackend(std::unique_ptr<MidiBackend> ports, std::unique_ptr<MidiBackend> mapper);

    std::string Name() const override;
    int InputCount() override { return ports_->InputCount(); }
    int OutputCount() override { return ports_->OutputCount(); }
    int InputCaps(int id, DeviceCaps& caps) override { return Note(*ports_, ports_->InputCaps(id, caps)); }
    int OutputCaps(int id, DeviceCaps& caps) override { return Note(For(id), For(id).OutputCaps(id, caps)); }
    int OpenInput(int id, DriverCallback callback, void* instance, std::unique_ptr<InputDevice>& device) override {
        return Note(*ports_, ports_->OpenInput(id, callback, instance, device));
    }
    int OpenOutput(int id, DriverCallback callback, void* instance, std::unique_ptr<OutputDevice>& device) override {
        return Note(For(id), For(id).OpenOutput(id, callback, instance, device));
    }
    int SetOutputVolume(int id, std::uint32_t volume) override {
        return Note(For(id), For(id).SetOutputVolume(id, volume));
    }
    // The text of the backend that answered the code last.
    std::optional<std::string> ErrorText(int code) override { return last_->ErrorText(code); }
    void SetSourceTime(std::int64_t micros) override { mapper_->SetSourceTime(micros); }
    std::string ApplyAudioSettings(const AudioSettings& settings) override {
        return mapper_->ApplyAudioSettings(settings);
    }
    std::optional<SynthStatus> SynthInUse() override { return mapper_->SynthInUse(); }

private:
    MidiBackend& For(int outputId) { return outputId == -1 ? *mapper_ : *ports_; }
    int Note(MidiBackend& backend, int code) {
        if (code != result::NoError) last_ = &backend;
        return code;
    }

    std::unique_ptr<MidiBackend> ports_;
    std::unique_ptr<MidiBackend> mapper_;
    MidiBackend* last_;
};

// RtMidi (ALSA, else JACK) plus the built-in synth with `audio`. Never starts a JACK server.
std::unique_ptr<MidiBackend> MakeSystemBackend(const AudioSettings& audio = {});

}  // namespace chordella::midi
