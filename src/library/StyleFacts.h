#pragma once
// What the playlist needs to know of a style file, read quietly (no message, no change to
// the loaded style): its tempo, its metrum, which instrument groups play in it, and whether
// it is damaged. The program's own styles (.vxs) are read with the style file reader; the
// keyboard style files of other makers (.sty, .prs, .bcs, .sst, …) are Standard MIDI Files,
// whose first tempo, first time signature and program changes are read.
//
// An instrument group counts when a channel other than the drum channel (10) plays notes
// and its program (the channel set-up's, else the first program change) falls into the
// General MIDI family: pianos 0-7, organs 16-23, guitars 24-31, basses 32-39, leads 80-87,
// pads 88-95, effects 96-103 and 120-127. A channel whose bank select asks for a drum or
// effect kit (MSB 126 or 127) counts as drums. In the MIDI-based keyboard styles channel 11
// is the bass part whatever its program says (their voices come from banks of their own).
//
// Any thread; no state.

#include <cstdint>
#include <span>
#include <string>

#include "library/PlaylistLine.h"

namespace chordella::library {

// Larger files are not style files; they are refused unread.
inline constexpr std::size_t MaxStyleFileBytes = 4 * 1024 * 1024;

struct StyleFacts {
    bool Readable = false;
    std::string Problem;       // why not, when not
    int Tempo = 0;             // 0: none found
    std::string Metrum = "4/4";
    InstrumentTags Tags = 0;
    bool HasBass() const { return (Tags & TagBass) != 0; }
};

// The facts of a file's bytes; `fileName` decides the format (.vxs or a MIDI-based one).
StyleFacts ReadStyleFacts(std::span<const std::uint8_t> bytes, std::string_view fileName);
// The same for a file on disk.
StyleFacts ReadStyleFactsOfFile(const std::string& path);

// The group of a General MIDI program (0 … 127); 0 for one of no group.
InstrumentTags TagOfProgram(int program);

}  // namespace chordella::library
