#include "midi/PortSelection.h"

namespace chordella::midi {

std::vector<std::string> ListInputNames(MidiBackend& backend) {
    std::vector<std::string> names;
    const int count = backend.InputCount();
    for (int id = 0; id < count; ++id) {
        DeviceCaps caps;
        names.push_back(backend.InputCaps(id, caps) == result::NoError ? caps.ProductName : std::string());
    }
    return names;
}

std::vector<std::string> ListOutputNames(MidiBackend& backend) {
    std::vector<std::string> names;
    const int count = backend.OutputCount();
    for (int id = 0; id < count; ++id) {
        DeviceCaps caps;
        names.push_back(backend.OutputCaps(id, caps) == result::NoError ? caps.ProductName : std::string());
    }
    return names;
}

bool PortChooser::SelectedIsNone() const {
    return Selected < 0 || Selected >= static_cast<int>(Entries.size()) || Entries[Selected] == NoneEntry;
}

int PortChooser::DeviceIdOf(int entry) const { return HasMapper && entry == DeviceCount ? -1 : entry; }

PortChooser MakeInputChooser(MidiBackend& backend) {
    PortChooser chooser;
    chooser.Entries = ListInputNames(backend);
    chooser.DeviceCount = static_cast<int>(chooser.Entries.size());
    chooser.Entries.push_back(NoneEntry);
    return chooser;
}

PortChooser MakeOutputChooser(MidiBackend& backend) {
    PortChooser chooser;
    chooser.Entries = ListOutputNames(backend);
    chooser.DeviceCount = static_cast<int>(chooser.Entries.size());
    DeviceCaps mapper;
    if (backend.OutputCaps(-1, mapper) == result::NoError) {
        chooser.Entries.push_back(mapper.ProductName);
        chooser.HasMapper = true;
    }
    chooser.Entries.push_back(NoneEntry);
    return chooser;
}

namespace {

std::string CantOpen(const std::string& entry) { return "Can't open " + entry + ", please check MIDI config."; }

bool OpenedWell(std::uint16_t error) { return error == result::NoError || error == result::NotSupported; }

}  // namespace

void OpenInputFromChooser(PortChooser& chooser, TMidiInput& input, platform::Prompter& prompter) {
    try {
        input.Close();
        if (chooser.Selected < 0) chooser.Selected = static_cast<int>(chooser.Entries.size()) - 1;
        if (chooser.SelectedIsNone() || input.DeviceID() > input.NumDevs()) return;
        input.SetDeviceID(chooser.DeviceIdOf(chooser.Selected));
        input.Open();
        if (!OpenedWell(input.Error())) {
            prompter.Inform(CantOpen(chooser.Entries[chooser.Selected]));
            return;
        }
        input.Start();
    } catch (const EMidiInputError& error) {
        prompter.Inform(error.what());
    }
}

void OpenOutputFromChooser(PortChooser& chooser, TMidiOutput& output, bool isThird, platform::Prompter& prompter,
                           const std::function<void()>& controllerReset, const std::function<void()>& refreshDisplay) {
    try {
        output.Close();
        if (chooser.Selected < 0) chooser.Selected = static_cast<int>(chooser.Entries.size()) - 1;
        if (!chooser.SelectedIsNone() && output.DeviceID() <= output.NumDevs()) {
            output.SetDeviceID(chooser.DeviceIdOf(chooser.Selected));
            output.Open();
            if (!OpenedWell(output.Error())) {
                prompter.Inform(CantOpen(chooser.Entries[chooser.Selected]));
                if (isThird) {
                    chooser.Selected = -1;
                    return;
                }
                if (controllerReset) controllerReset();
            }
        }
    } catch (const EmidioutputError& error) {
        prompter.Inform(error.what());
    }
    if (!isThird && refreshDisplay) refreshDisplay();
}

void FillOutputChooser(PortChooser& chooser, int rememberedIndex, bool isThird, platform::Prompter& prompter) {
    if (rememberedIndex >= 0 && rememberedIndex < static_cast<int>(chooser.Entries.size())) {
        chooser.Selected = rememberedIndex;
        return;
    }
    chooser.Selected = -1;
    if (!isThird) prompter.Inform("Wrong MIDI-Output-Device: Please check MIDI IN/OUT configuration !");
}

void ControllerReset(MidiOut* currentOutput, ControllerTable& controllers) {
    if (currentOutput)
        for (std::uint8_t channel = 0; channel < 16; ++channel)
            currentOutput->PutShort(static_cast<std::uint8_t>(0xB0 | channel), 121, 0);
    controllers.Clear();
}

}  // namespace chordella::midi
