#pragma once
// `chordella ports`: lists the MIDI inputs and outputs with their ids, names and backends.

#include <cstdio>

#include "midi/MidiBackend.h"

namespace chordella::app {

// Writes the list for `backend` to `out`; answers the exit code.
int ListPorts(midi::MidiBackend& backend, std::FILE* out);
// The same for the system's ports and the built-in synth.
int RunPortsCommand(std::FILE* out);

}  // namespace chordella::app
