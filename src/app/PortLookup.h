#pragma once
// Finding a MIDI port by what the user typed: used by the command line's --in/--out flags, the
// remote control's ports and the window's port choices kept in the settings.

#include <optional>
#include <string>

#include "midi/MidiBackend.h"

namespace chordella::app {

// The id of the built-in synth among the outputs.
inline constexpr int SynthOutput = -1;

// The id of the input (or output) `text` names: an id, an exact name, or the one name
// that contains it (case-insensitive). Nothing when no port or more than one fits.
std::optional<int> FindPort(midi::MidiBackend& backend, bool input, const std::string& text);

// The port's product name; empty when the backend has no such port.
std::string PortName(midi::MidiBackend& backend, bool input, int id);

}  // namespace chordella::app
