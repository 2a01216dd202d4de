#pragma once
// `chordella batch songs N [-o DIR] [--clear]`: N random songs (1 … 50) made with the song
// creator's settings, saved as song files in DIR (the data home's SONGS folder without -o)
// and added to the songlist of the settings ("SongL"; SONGS/DEMO.VXL when it has none),
// which is cleared first with --clear. A line per song, a line per error, the count last.
// Exit 0 when every song was made, 1 when some were not.

#include <cstdio>

#include "cli/BatchCommand.h"

namespace chordella::cli {

int RunBatchSongsCommand(int songs, const BatchCommandFlags& flags, std::FILE* out, std::FILE* err);

}  // namespace chordella::cli
