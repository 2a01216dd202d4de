#pragma once
// The session's MIDI ports: the backend, the controller tables, the callback settings,
// the two inputs and three outputs (a slot stays empty when creating its component
// failed, e.g. no input device exists) and the current output, through which the engine
// and the thru path send.
//
// Control thread for everything.

#include <memory>

#include "midi/ChordCB.h"
#include "midi/ControllerTable.h"
#include "midi/GeneralMidiVoices.h"
#include "midi/MidiBackend.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"

namespace chordella::midi {

class MidiPorts {
public:
    // Creates the five components and applies the start-up settings: clock routing 0,
    // active sensing dropped, controller values cleared, repeats suppressed.
    MidiPorts(std::unique_ptr<MidiBackend> backend, platform::EventLoop& loop);
    ~MidiPorts();
    MidiPorts(const MidiPorts&) = delete;
    MidiPorts& operator=(const MidiPorts&) = delete;

    MidiBackend& Backend() { return *backend_; }
    ControllerTable& Controllers() { return controllers_; }
    ControllerTable& Snapshot() { return snapshot_; }
    CallbackSettings& Settings() { return settings_; }

    // Fill the table (or the snapshot) with "unknown"; copy the table into the snapshot.
    void ClearControllerValues() { controllers_.Clear(); }
    void ClearControllerSnapshot() { snapshot_.Clear(); }
    void TakeControllerSnapshot() { snapshot_.CopyFrom(controllers_); }

    // What the outputs to a General MIDI device play instead of makers' own voices (see
    // TMidiOutput::SetMarkedGeneralMidi); the outputs take it at their next Open.
    void SetGeneralMidiVoices(GeneralMidiVoiceTable table);

    // The current output, or nullptr when its slot is empty.
    TMidiOutput* CurrentOutput() { return currentOutput_; }
    void SetCurrentOutput(TMidiOutput* output) { currentOutput_ = output; }

    // The components; each may be empty.
    std::unique_ptr<TMidiInput> MidiInput1;
    std::unique_ptr<TMidiInput> MidiInput2;
    std::unique_ptr<TMidiOutput> MidiOutput1;
    std::unique_ptr<TMidiOutput> MidiOutput2;
    std::unique_ptr<TMidiOutput> MidiOutput3;

private:
    std::unique_ptr<MidiBackend> backend_;
    ControllerTable controllers_;
    ControllerTable snapshot_;
    CallbackSettings settings_{controllers_};
    TMidiOutput* currentOutput_ = nullptr;
    GeneralMidiVoiceTable gmVoices_;
};

}  // namespace chordella::midi
