#pragma once
// A style written as text, compiled into the .vxs layout. The source reads like a drummer's
// and a bass player's chart; every non-drum note is written over a C major chord, as the
// engine expects (it transposes them to the chord the player holds).
//
//   style cont1.vxs
//   tempo 112
//   meter 4                       beats per measure (quarter notes)
//   channel 10 program 0 volume 100 pan 64 reverb 40 chorus 0     (channels 1 … 16)
//   part Basic 2                  part name and its length in measures [followup N]
//     drum hhc   x.x.x.x.x.x.x.x.|x.x.x.x.x.x.xXx.     a grid per measure, '|' between measures
//     notes 2    1.1 C2 q. 96, 1.2& G1 e 70, 1.3 C2 q 90       position pitches length [velocity]
//     use Basic 2 3               repeats another part's lines (all, or only these channels)
//     cut 3 / mute 5              the part's "Cut Notes" and mute flags
//     swing 62 [e|s]              the feel of the lines below (before the parts: the style's)
//     drum snare@+1 ....X...      a grid a tick behind the beat; notes take "1.3-1", "2.2&+2"
//
// A grid's resolution is its number of steps per measure (8 eighths, 16 sixteenths, 12 triplet
// eighths). Grids and note lines repeat through the part: a grid every as many measures as it
// has, a note line every as many measures as its last note's measure. Each part starts with the
// channels' set-up (bank, program, volume, pan, reverb, chorus) so it sounds right on its own.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/StyleModel.h"

namespace chordella::tools {

struct CompiledStyle {
    std::string FileName;                 // "cont1.vxs"
    data::StyleHeader Header;
    data::PartTable Parts{};
    std::vector<std::uint8_t> Stream;     // ends with 0x00
};

// Compiles a source; false with "line N: reason" in `error`. The result has passed the
// style file's own checks of the header and of the stream against the part table.
bool CompileStyle(std::string_view source, CompiledStyle& style, std::string& error);

// The whole .vxs file of a compiled style.
std::vector<std::uint8_t> StyleFileOf(const CompiledStyle& style);

}  // namespace chordella::tools
