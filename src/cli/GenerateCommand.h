#pragma once
// `chordella generate -o SONG.vxa`: a song from the common progressions or from random
// chords, written as a song file and printed measure by measure. Returns the exit code
// (0 success, 1 with a one-line "file: reason" on `err`).

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "composer/SongCreatorOptions.h"

namespace chordella::cli {

struct GenerateCommandFlags {
    std::string output;                 // SONG.vxa
    std::optional<int> row;             // --row N: that progression for the whole song
    std::string section;                // --section 1|2|blues8|blues12|blues16
    std::string range;                  // --range LO-HI: progressions of that range
    bool random = false;                // --random: a completely random song
    bool groupChords = false;           // --group-chords: random chords of the key's chord groups
    std::string key;                    // --key K: a key of the key list (turns the random key off)
    int mode = 1;                       // --mode 1 … 7: the mode list's entry
    std::optional<int> tempo;           // --tempo BPM
    std::optional<std::uint64_t> seed;  // --seed S
    std::string style;                  // --style S (.vxs)
    std::string keys;                   // --keys one-major|one-minor|parallel|relative|six-relative|six-parallel
    std::vector<int> lock;              // --lock M…: keep these measures of the song already in SONG.vxa
    bool csv = false;                   // --csv: write "CCPList.csv" into the data home
    bool noRandomStyle = false;         // "Randomly choose style" off
    bool simple = false;                // "Generate simple songs: 2 keys, maj. && min. chords"
    composer::SongCreatorOptions options;
    std::optional<std::string> home;    // --home
};

int RunGenerateCommand(const GenerateCommandFlags& flags, std::FILE* out, std::FILE* err);

}  // namespace chordella::cli
