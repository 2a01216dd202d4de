#pragma once
// `chordella batch MODE (DIR | --playlist FILE) [-o DIR] [--sets N] [--yes]`: one style
// operation over a folder or a playlist (app/BatchRun.h), with a progress bar on a
// terminal, a line per error and the summary last. Exit 0 when every file went through,
// 1 when some failed, 2 for a wrong command line.

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

namespace chordella::cli {

struct BatchCommandFlags {
    std::string mode;              // convert, delete-bassless, check, normalize, refresh, add, tag, songs
    std::string folder;            // DIR (Songs: the number of songs)
    std::string playlist;          // --playlist FILE: the inputs are its style lines
    std::string outputFolder;      // -o DIR: convert
    int sets = 6;                  // --sets N: convert, 1 … 6
    std::string description;       // --description TEXT ("???": each style's folder)
    bool clearPlaylist = false;    // --clear: add, the playlist is cleared first
    bool yes = false;              // --yes: no question before deleting
    std::optional<std::string> home;
};

// The headless random-songs run, provided by the side that owns the song creator; while it
// is not set, `batch songs` says so and ends with 2.
using BatchSongsRunner = std::function<int(int songs, const BatchCommandFlags& flags, std::FILE* out, std::FILE* err)>;
void SetBatchSongsRunner(BatchSongsRunner runner);

// `in` answers the question of the deleting mode (a line starting with y or Y is Yes).
int RunBatchCommand(const BatchCommandFlags& flags, std::FILE* in, std::FILE* out, std::FILE* err);

}  // namespace chordella::cli
