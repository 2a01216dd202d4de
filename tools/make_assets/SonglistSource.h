#pragma once
// A songlist (.vxl) written as text: one "entry" line per song, its title and its path.
//
//   list DEMO.VXL
//   entry "Sunday Drive (Chordella demo)" SONGS/demo2.vxa
//
// Each entry becomes one line of the songlist's fixed columns: the title in 50 columns, the
// path in 80, then the performance snapshot of a fresh start (no channel muted,
// accompaniment on, mixer bars at 100).

#include <string>
#include <string_view>

namespace chordella::tools {

struct CompiledSonglist {
    std::string FileName;   // "DEMO.VXL"
    std::string Text;       // the lines, each ended by CR LF
};

// False with "line N: reason".
bool CompileSonglist(std::string_view source, CompiledSonglist& list, std::string& error);

// One songlist line for a title and a path (both cut to their columns).
std::string SonglistLine(std::string_view title, std::string_view path);

}  // namespace chordella::tools
