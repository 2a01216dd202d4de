#pragma once
// `chordella remote list` prints the MIDI commands, the functions of the second input's keys
// 0 … 11 and the learned bindings; `chordella remote learn FUNCTION --second-in PORT` binds
// the next note, controller or program change that arrives on that input to FUNCTION (a
// number or a name such as "Start/Stop") and saves it.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "midi/MidiBackend.h"

namespace chordella::cli {

struct RemoteFlags {
    std::string action;               // "list" or "learn"
    std::string function;             // learn: the function (number or name)
    std::string secondIn;             // learn: --second-in PORT
    int timeoutSeconds = 60;          // learn: --timeout S, how long it waits for a message
    std::optional<std::string> home;  // --home
    bool reset = false;               // --reset
};

int RunRemoteCommand(const RemoteFlags& flags, std::FILE* out, std::FILE* err);
// The same on the ports of `backend` (tests hand in the in-memory devices).
int RunRemote(std::unique_ptr<midi::MidiBackend> backend, const RemoteFlags& flags, std::FILE* out, std::FILE* err);

}  // namespace chordella::cli
