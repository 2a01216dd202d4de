#pragma once
// What the options window's "Audio" page offers and shows: the General MIDI SoundFonts
// installed, the devices of the drivers that have them, and what the built-in synth uses
// now.
//
// Control thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "midi/AudioSettings.h"
#include "midi/SoundFonts.h"

namespace chordella::midi { class MidiBackend; }

namespace chordella::desktop {

struct AudioChoices {
    std::vector<midi::InstalledSoundFont> SoundFonts;  // the preferred first
    std::vector<std::string> AlsaDevices;
    bool JackRuns = false;                   // Automatic would choose JACK
    std::optional<midi::SynthStatus> InUse;  // none: the backend has no built-in synth
};

AudioChoices ListAudioChoices(midi::MidiBackend& backend);

// What the window says when audio settings that need the driver reopened (or the SoundFont
// reloaded) are changed while the music plays.
inline constexpr std::string_view AudioAfterStopText =
    "The new audio settings take effect when the music stops.";

}  // namespace chordella::desktop
