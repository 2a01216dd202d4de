#pragma once
// A song (arrangement) written as text, compiled into the .vxa layout: a lead sheet of bars
// with chords and the section commands a player would press, and the melody.
//
//   song demo2.vxa
//   style cont1.vxs               the style reference stored in the file
//   tempo 112 / meter 4 / melody-program 73
//   title "…"  subtitle "…"  author "…"  rights "…"  comment "…"
//   bar 1   C !intro              chords on beat 1, or CHORD@B on beat B
//   bar 9   F  G@3 !fill@3        commands: !intro !basic !ext !fill !tobasic !toext !ending
//   bar 13  Am !loop:2            !loop:N (the measures up to the bar with !loopend play N times)
//   bar 16  G !loopend !tempo:116 !tempo:N, !stop
//   melody  1.1 E5 q, 1.2 D5 e 80, …    position pitch length [velocity], on channel 1
//   end 33                        STOP on the first beat of this bar: the song's length

#include <string>
#include <string_view>

#include "data/SongFile.h"

namespace chordella::tools {

struct CompiledSong {
    std::string FileName;            // "demo2.vxa"
    data::SongFileContent Content;   // the full form, as the program saves songs
};

// False with "line N: reason".
bool CompileSong(std::string_view source, CompiledSong& song, std::string& error);

}  // namespace chordella::tools
