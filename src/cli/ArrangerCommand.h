#pragma once
// `chordella arranger`: the live arranger without a window. It opens the keyboard input
// (and a second input for commands and clock) and waits: the first chord in the chord zone
// starts the style (--start starts it at once), which plays on a MIDI output or the
// built-in synth on the real clock. Ctrl+C, SIGTERM and SIGHUP (the terminal closed) stop
// it with every note released and exit 0. On a terminal it keeps one status line up to date
// and reads two keys: "p" is the panic (every note off, the held chord keys forgotten),
// "q" quits.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/AudioOptions.h"
#include "midi/MidiBackend.h"

namespace chordella::app { struct AppState; }
namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::remote { class RemoteControl; }
namespace chordella::cli {


struct ArrangerFlags {
    std::string in;                   // --in PORT: the keyboard (name, part of a name, or id)
    std::string out;                  // --out PORT: the output; empty: the built-in synth
    std::string secondIn;             // --second-in PORT: MIDI commands and clock
    std::string commands;             // --commands FILE.ccs: the ten MIDI commands
    std::string commandsOut;          // --commands-out PORT: where the MIDI commands are sent
    std::string style;                // --style FILE
    int set = 1;                      // --set N: the variations set of another maker's style (1 … 6)
    int firstKey = -1;                // --first-key N: lowest key of the chord zone
    int lastKey = -1;                 // --last-key N: highest key of the chord zone
    int tempo = 0;                    // --tempo BPM; 0: the style's
    std::optional<std::string> home;  // --home
    bool reset = false;               // --reset: the default settings
    bool start = false;               // --start: the style starts at once, not at the first chord
    app::AudioFlags audio;                 // the built-in synth's settings
};

// Opens the ports, loads the style and applies the flags on `session` and `appState`;
// false with a one-line reason on `err`.
bool PrepareArranger(core::Session& session, app::AppState& appState, const ArrangerFlags& flags, std::FILE* err);

// Applies --commands and opens --commands-out for the arranger's remote control; false with
// a one-line reason on `err` (the commands are then unchanged).
bool PrepareRemote(core::Session& session, core::Options& options, remote::RemoteControl& remote,
                   const ArrangerFlags& flags, std::FILE* err);

// The whole command on the system's ports; answers the exit code.
int RunArrangerCommand(const ArrangerFlags& flags, std::FILE* out, std::FILE* err);
// The same on the ports of `backend` (tests hand in the in-memory devices).
int RunArranger(std::unique_ptr<midi::MidiBackend> backend, const ArrangerFlags& flags, std::FILE* out,
                std::FILE* err);

// What --help adds below the flags: the chord zone and the control keys as the settings
// (or the defaults) have them, and the terminal keys.
std::string ArrangerKeysHelp();

}  // namespace chordella::cli
