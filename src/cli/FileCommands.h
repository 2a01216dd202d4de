#pragma once
// The file commands of the command line: `chordella import` and `chordella info`.
// Each returns the exit code (0 success, 1 with a one-line "file: reason" on `err`).

#include <cstdio>
#include <optional>
#include <string>

namespace chordella::cli {

struct ImportCommandFlags {
    std::string input;                  // FILE.mid, FILE.sty, …
    std::string output;                 // WORK.vxw
    bool keepLeadingSilence = false;    // --keep-silence
    bool force = false;                 // --force: replace an existing file that is not a work file
    std::optional<std::string> home;    // --home
};

int RunImportCommand(const ImportCommandFlags& flags, std::FILE* out, std::FILE* err);

// Describes a style, a song, a MIDI file, a keyboard style file or a work file.
int RunInfoCommand(const std::string& path, std::FILE* out, std::FILE* err);

}  // namespace chordella::cli
