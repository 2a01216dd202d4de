#pragma once
// MIDI ports of the system through RtMidi: the ALSA sequencer when /dev/snd/seq can be
// opened, else JACK (never started by us: JACK_NO_START_SERVER is set). Device lists begin
// with Chordella's own virtual ports ("Chordella In", "Chordella In 2"; "Chordella Out",
// "Chordella Out 2", "Chordella Out 3"), which other programs connect to, followed by the
// system's ports named as the system shows them. With neither API usable the lists are
// empty.
//
// On JACK the ports are our own (JackOutput, JackInput): a burst larger than one period's
// buffer goes out over the next periods instead of being cut, and closing an input waits
// for the period that reads it. RtMidi lists the ports on both APIs and opens them on ALSA.
//
// RtMidi's errors arrive through its error callback and become result codes whose text
// is RtMidi's message. The input callback runs on RtMidi's thread and only feeds the
// stream parser (no allocation, no lock). Control thread for everything else.

#include <memory>
#include <string>
#include <vector>

#include "midi/MidiBackend.h"

class RtMidiIn;
class RtMidiOut;

namespace chordella::midi {

class RtMidiBackend final : public MidiBackend {
public:
    enum class Api { Automatic, Alsa, Jack };

    explicit RtMidiBackend(Api api = Api::Automatic, std::string clientName = "Chordella");
    ~RtMidiBackend() override;

    // "ALSA", "JACK" or "none".
    std::string Name() const override;
    // The API answers (for JACK: a server runs).
    bool Usable();

    int InputCount() override;
    int OutputCount() override;
    int InputCaps(int id, DeviceCaps& caps) override;
    int OutputCaps(int id, DeviceCaps& caps) override;
    int OpenInput(int id, DriverCallback callback, void* instance, std::unique_ptr<InputDevice>& device) override;
    int OpenOutput(int id, DriverCallback callback, void* instance, std::unique_ptr<OutputDevice>& device) override;
    // RtMidi has no volume: accepted and ignored.
    int SetOutputVolume(int id, std::uint32_t volume) override;
    std::optional<std::string> ErrorText(int code) override;

    // Where RtMidi's error callback leaves its message.
    struct ErrorState {
        bool Failed = false;
        std::string Text;
    };

private:
    class Input;
    class Output;
    void Refresh();
    int Fail(const ErrorState& state);

    int api_ = 0;  // RtMidi::Api
    std::string clientName_;
    std::unique_ptr<RtMidiIn> probeIn_;
    std::unique_ptr<RtMidiOut> probeOut_;
    ErrorState probeError_;
    bool probesConnected_ = false;
    bool usable_ = false;
    std::vector<std::string> inputNames_;   // system ports after the virtual ones
    std::vector<std::string> outputNames_;
    std::string lastError_;
};

}  // namespace chordella::midi
