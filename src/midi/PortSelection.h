#pragma once
// Choosing ports, for the configuration dialog: the device names, the choosers (the names
// followed by "<None>") and opening the chosen device with the program's messages.
//
// Control thread for everything. The GUI fills its list boxes from a PortChooser and
// calls these with the user's selection.

#include <functional>
#include <string>
#include <vector>

#include "midi/ControllerTable.h"
#include "midi/MidiBackend.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "platform/Prompter.h"

namespace chordella::midi {

inline constexpr const char* NoneEntry = "<None>";

// Names of input devices 0 … n-1 and output devices 0 … n-1, as the backend shows them.
std::vector<std::string> ListInputNames(MidiBackend& backend);
std::vector<std::string> ListOutputNames(MidiBackend& backend);

struct PortChooser {
    std::vector<std::string> Entries;  // device names, [the mapper,] "<None>"
    int Selected = -1;                 // -1: nothing selected
    bool HasMapper = false;            // the entry before "<None>" is output id -1
    int DeviceCount = 0;

    bool SelectedIsNone() const;
    // The device id of an entry: its index, -1 for the mapper entry.
    int DeviceIdOf(int entry) const;
};

PortChooser MakeInputChooser(MidiBackend& backend);
// The output devices, then the mapper (the built-in synth) when the backend has one.
PortChooser MakeOutputChooser(MidiBackend& backend);

// Closes the input and opens the chosen device (nothing selected: "<None>"); a device
// that fails to open is reported with "Can't open NAME, please check MIDI config.".
void OpenInputFromChooser(PortChooser& chooser, TMidiInput& input, platform::Prompter& prompter);

// The same for an output. `isThird` marks MidiOutput3: its failure clears the selection
// instead of running `controllerReset`, and it does not call `refreshDisplay`.
void OpenOutputFromChooser(PortChooser& chooser, TMidiOutput& output, bool isThird, platform::Prompter& prompter,
                           const std::function<void()>& controllerReset, const std::function<void()>& refreshDisplay);

// Selects a remembered entry; an index past the entries leaves nothing selected and,
// except for MidiOutput3, says "Wrong MIDI-Output-Device: Please check MIDI IN/OUT configuration !".
void FillOutputChooser(PortChooser& chooser, int rememberedIndex, bool isThird, platform::Prompter& prompter);

// The "C. Reset" button: reset all controllers (121, value 0) on the 16 channels of the
// current output, then forget the controller values.
void ControllerReset(MidiOut* currentOutput, ControllerTable& controllers);

}  // namespace chordella::midi
