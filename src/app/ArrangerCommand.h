#pragma once
// `chordella arranger`: the live arranger without a window. It opens the keyboard input
// (and a second input for commands and clock), plays the style on a MIDI output or the
// built-in synth on the real clock, and runs until Ctrl+C, which stops with every note
// released.

#include <cstdio>
#include <optional>
#include <string>

#include "midi/MidiBackend.h"

namespace chordella::core { class Session; }
namespace chordella::app {


struct ArrangerFlags {
    std::string in;                   // --in PORT: the keyboard (name, part of a name, or id)
    std::string out;                  // --out PORT: the output; empty: the built-in synth
    std::string secondIn;             // --second-in PORT: MIDI commands and clock
    std::string style;                // --style FILE
    int firstKey = -1;                // --first-key N: lowest key of the chord zone
    int lastKey = -1;                 // --last-key N: highest key of the chord zone
    int tempo = 0;                    // --tempo BPM; 0: the style's
    std::optional<std::string> home;  // --home
    bool reset = false;               // --reset: the default settings
};

// The id of the input (or output) `text` names: an id, an exact name, or the one name
// that contains it (case-insensitive). Nothing when no port or more than one fits.
std::optional<int> FindPort(midi::MidiBackend& backend, bool input, const std::string& text);

// Opens the ports, loads the settings and the style and applies the flags on `session`;
// false with a one-line reason on `err`.
bool PrepareArranger(core::Session& session, const ArrangerFlags& flags, std::FILE* err);

// The whole command on the system's ports; answers the exit code.
int RunArrangerCommand(const ArrangerFlags& flags, std::FILE* out, std::FILE* err);

}  // namespace chordella::app
