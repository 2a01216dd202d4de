#pragma once
// The built-in synth's settings as the options hold them (settings file keys AudioDriver …
// SynthChorusLevel), as the headless commands' flags give them, and as `chordella ports`
// and the options window describe them.
//
// Control thread.

#include <string>

#include "core/Options.h"
#include "midi/AudioSettings.h"
#include "platform/Paths.h"

namespace chordella::app {

midi::AudioSettings AudioSettingsOf(const core::Options& options);
void StoreAudioSettings(const midi::AudioSettings& settings, core::Options& options);

// The audio settings the data home's settings file holds (defaults without one).
midi::AudioSettings LoadAudioSettings(const platform::Paths& paths);

// The flags of the commands that sound. Each flag given replaces its setting.
struct AudioFlags {
    std::string soundFont{};  // --soundfont FILE
    std::string driver{};     // --audio-driver auto|jack|pulseaudio|alsa
    std::string device{};     // --audio-device NAME
    int sampleRate = 0;       // --sample-rate HZ
    int buffer = 0;           // --buffer FRAMES
    int volume = -1;          // --volume 0 … 100
    std::string reverb{};     // --reverb off|on|0 … 100
    std::string chorus{};     // --chorus off|on|0 … 100
};

// False with a one-line reason ("--buffer 7: …") when a flag's value cannot be taken; the
// settings are then unchanged.
bool ApplyAudioFlags(const AudioFlags& flags, midi::AudioSettings& settings, std::string& error);

// "MuseScore General Lite (/usr/share/sounds/sf3/MuseScore_General_Lite.sf3)".
std::string DescribeSoundFont(const std::string& path);
// The lines `chordella ports` shows for the built-in synth: the settings, and what the synth
// uses or would use (the driver Automatic picks, the SoundFont found).
std::string DescribeSynth(const midi::AudioSettings& settings, const midi::SynthStatus* status);

}  // namespace chordella::app
