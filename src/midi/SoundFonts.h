#pragma once
// The SoundFonts of the system: which files in the usual SoundFont folders are General MIDI
// sets (a melodic preset for nearly every program of bank 0 and a drum kit in bank 128),
// their names, and which one the built-in synth uses when the player has chosen none:
// MuseScore General, then FluidR3, then TimGM6mb, then any other General MIDI set.
//
// A SoundFont is a RIFF file: only its INFO list (the name) and the preset headers of its
// pdta list are read; the sample data, often 100 MB and more, is skipped.
//
// Any thread (files only).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace chordella::midi {

struct SoundFontInfo {
    std::string Name;        // the SoundFont's own name (INAM); empty when it has none
    int MelodicPrograms = 0;  // distinct programs with a preset in bank 0
    bool DrumKit = false;     // a preset in bank 128
    bool GeneralMidi() const { return MelodicPrograms >= 100 && DrumKit; }
};

// False with `error` ("expected …, found … at offset …") when the bytes are not a SoundFont.
bool ReadSoundFontInfo(std::span<const std::uint8_t> bytes, SoundFontInfo& info, std::string& error);
bool ReadSoundFontInfo(const std::string& path, SoundFontInfo& info, std::string& error);

struct InstalledSoundFont {
    std::string Path;
    SoundFontInfo Info;
};

// /usr/share/sounds/sf3, /usr/share/sounds/sf2, /usr/share/soundfonts,
// /usr/local/share/soundfonts and the user's own ($XDG_DATA_HOME/soundfonts, …/sounds/sf2, …/sounds/sf3).
std::vector<std::string> SoundFontFolders();

// The General MIDI SoundFonts (.sf2, .sf3) in `folders`, each file once (links resolved),
// the preferred first.
std::vector<InstalledSoundFont> ListSoundFonts(const std::vector<std::string>& folders = SoundFontFolders());

// The SoundFont to play with: `chosen` when that file exists, else $CHORDELLA_SOUNDFONT when
// set and existing, else the first of ListSoundFonts. "" when there is none.
std::string FindSoundFont(const std::string& chosen = "");

// The packages that bring a General MIDI SoundFont, for the message when none is installed.
inline constexpr const char* SoundFontPackages = "musescore-general-soundfont-small, fluid-soundfont-gm or timgm6mb-soundfont";

}  // namespace chordella::midi
