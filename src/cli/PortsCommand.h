#pragma once
// `chordella ports`: lists the MIDI inputs and outputs with their ids, names and backends.

#include <cstdio>
#include <optional>
#include <string>

#include "midi/MidiBackend.h"

namespace chordella::cli {

// Writes the list for `backend` to `out`; answers the exit code.
int ListPorts(midi::MidiBackend& backend, std::FILE* out);
// The same for the system's ports, then the built-in synth's settings (those of the data
// home `home`) and what it uses with them.
int RunPortsCommand(std::FILE* out, const std::optional<std::string>& home = std::nullopt);

}  // namespace chordella::cli
