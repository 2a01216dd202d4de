#pragma once
// Opening the ports the options name, for the desktop window: at start-up and whenever the
// options window changes a port's name. A name that is not found, or a device that cannot
// be opened, is reported with "Can't open NAME, please check MIDI config." and leaves the
// port closed; the program goes on without it. The built-in synth without an audio device
// is reported with NoAudioOutputText instead: the MIDI set-up is not what is missing.
//
// Control thread only.

#include <string>
#include <string_view>
#include <vector>

#include "core/Options.h"

namespace chordella::core { class Session; }
namespace chordella::desktop {


inline constexpr std::string_view NoAudioOutputText =
    "No audio output was found, so the built-in synth cannot sound. Choose a MIDI output in the options, "
    "or render the song to a WAV file (Song \u2192 Render to WAV\u2026) !";

// Whether the current (main) output is open: something can be heard.
bool CanSound(core::Session& session);

// The device names the options window offers.
struct PortNames {
    std::vector<std::string> Inputs;
    std::vector<std::string> Outputs;  // the built-in synth first, when the backend has one
    std::string BuiltInSynth;          // that first entry's name; empty when there is none
};

PortNames ListPortNames(core::Session& session);

// Opens every port whose name differs between `before` and `now` (all of them when
// `all`). An empty main output name opens the built-in synth. The main output becomes the
// current output.
void OpenConfiguredPorts(core::Session& session, const core::Options& before, const core::Options& now, bool all);

// Opens the MIDI commands' output (MidiOutput3) on `name`; empty closes it. A name not
// found or a device that cannot be opened leaves it closed without a message: the commands
// then do nothing, which the window's port list shows.
bool OpenCommandOutput(core::Session& session, const std::string& name);

// Closes every port (exit).
void CloseAllPorts(core::Session& session);

}  // namespace chordella::desktop
