#pragma once
// The styles the songs of a songlist name: each song file (.vxa) may carry the path of the
// style it was made with. "Import styles from Songlist" of the style playlist adds them.
//
// Control thread (reads files).

#include <string>
#include <vector>

#include "platform/Paths.h"

namespace chordella::library {

struct SongStyles {
    std::vector<std::string> Files;  // the style files found on this machine, each once, in list order
    int SongsRead = 0;               // song files that could be read
    std::vector<std::string> Problems;  // "song: why" for songs or styles that were not found or not read
};

// The style files named by the songs of these songlist lines (.vxl lines). MIDI files and
// songs that name no style are passed over quietly.
SongStyles StylesOfSongs(const std::vector<std::string>& songlistLines, const platform::Paths& paths);

}  // namespace chordella::library
