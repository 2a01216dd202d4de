#include "desktop/DesktopPorts.h"

#include <exception>

#include "app/PortLookup.h"
#include "core/Session.h"
#include "midi/MidiBackend.h"
#include "midi/PortSelection.h"

namespace chordella::desktop {

namespace {

void CannotOpen(core::Session& session, const std::string& name) {
    session.Prompter().Inform("Can't open " + name + ", please check MIDI config.");
}

void CloseInput(midi::TMidiInput& input) {
    try {
        if (input.IsOpen()) input.Close();
    } catch (const std::exception&) {
        // A driver that refuses to close leaves the port as it is; nothing else to do.
    }
}

void CloseOutput(midi::TMidiOutput& output) {
    try {
        if (output.IsOpen()) output.Close();
    } catch (const std::exception&) {
    }
}

void OpenInput(core::Session& session, midi::TMidiInput* input, const std::string& name) {
    if (input == nullptr) return;
    CloseInput(*input);
    if (name.empty()) return;
    const std::optional<int> id = app::FindPort(session.MidiBackend(), true, name);
    if (!id) {
        CannotOpen(session, name);
        return;
    }
    try {
        input->SetDeviceID(*id);
        input->Open();
        if (input->Error() == 0) input->Start();
    } catch (const std::exception&) {
    }
    if (!input->IsOpen() || input->Error() != 0) CannotOpen(session, name);
}

bool OpenOutput(core::Session& session, midi::TMidiOutput* output, const std::string& name, bool synthWhenEmpty,
                bool generalMidi) {
    if (output == nullptr) return false;
    CloseOutput(*output);
    output->SetMarkedGeneralMidi(generalMidi);
    if (name.empty() && !synthWhenEmpty) return false;
    const std::optional<int> id = name.empty() ? std::optional<int>(app::SynthOutput)
                                               : app::FindPort(session.MidiBackend(), false, name);
    if (!id) {
        CannotOpen(session, name);
        return false;
    }
    try {
        output->SetDeviceID(*id);
    } catch (const std::exception&) {
        CannotOpen(session, name);
        return false;
    }
    if (output->Open()) return true;
    if (*id == app::SynthOutput && output->Error() == midi::result::NoAudioDevice)
        session.Prompter().Inform(std::string(NoAudioOutputText));
    else
        CannotOpen(session, name.empty() ? output->ProductName() : name);
    return false;
}

}  // namespace

PortNames ListPortNames(core::Session& session) {
    PortNames names;
    midi::MidiBackend& backend = session.MidiBackend();
    names.Inputs = midi::ListInputNames(backend);
    const midi::PortChooser outputs = midi::MakeOutputChooser(backend);
    if (outputs.HasMapper) {
        names.BuiltInSynth = outputs.Entries[static_cast<std::size_t>(outputs.DeviceCount)];
        names.Outputs.push_back(names.BuiltInSynth);
    }
    for (const std::string& name : midi::ListOutputNames(backend)) names.Outputs.push_back(name);
    return names;
}

void OpenConfiguredPorts(core::Session& session, const core::Options& before, const core::Options& now, bool all) {
    if (all || before.MidiOut != now.MidiOut || before.MidiOutGeneralMidi != now.MidiOutGeneralMidi ||
        !session.CurrentOutput()) {
        OpenOutput(session, session.MidiOutput1(), now.MidiOut, true, now.MidiOutGeneralMidi);
        session.Midi().SetCurrentOutput(session.MidiOutput1());
    }
    if (all || before.MidiSubOut != now.MidiSubOut || before.MidiSubOutGeneralMidi != now.MidiSubOutGeneralMidi)
        OpenOutput(session, session.MidiOutput2(), now.MidiSubOut, false, now.MidiSubOutGeneralMidi);
    if (all || before.MidiIn != now.MidiIn) OpenInput(session, session.MidiInput1(), now.MidiIn);
    if (all || before.MidiSubIn != now.MidiSubIn) OpenInput(session, session.MidiInput2(), now.MidiSubIn);
    if (all || before.MidiCommandPort != now.MidiCommandPort) OpenCommandOutput(session, now.MidiCommandPort);
}

bool OpenCommandOutput(core::Session& session, const std::string& name) {
    midi::TMidiOutput* out = session.MidiOutput3();
    if (!out) return false;
    CloseOutput(*out);
    if (name.empty()) return false;
    const std::optional<int> id = app::FindPort(session.MidiBackend(), false, name);
    if (!id) return false;
    try {
        out->SetDeviceID(*id);
        return out->Open();
    } catch (const std::exception&) {
        return false;  // the driver refused: the port stays closed
    }
}

bool CanSound(core::Session& session) {
    const midi::TMidiOutput* out = session.CurrentOutput();
    return out != nullptr && out->IsOpen();
}

void CloseAllPorts(core::Session& session) {
    for (midi::TMidiInput* input : {session.MidiInput1(), session.MidiInput2()})
        if (input) CloseInput(*input);
    for (midi::TMidiOutput* output : {session.MidiOutput1(), session.MidiOutput2(), session.MidiOutput3()})
        if (output) CloseOutput(*output);
}

}  // namespace chordella::desktop
