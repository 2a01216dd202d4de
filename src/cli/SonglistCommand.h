#pragma once
// `chordella songlist LIST.vxl`: prints the entries of a songlist;
// `--play [--from N] [--session] [--repeats N] [--out PORT] [--style S]` plays them in turn
// through the built-in synth or a port, one status line per song;
// `--add SONG.vxa [--title T]` adds a song with the default settings at the list's end (a
// missing list is made). Exit codes: 0 success, 1 with a one-line "file: reason" on `err`.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace chordella::midi { class MidiBackend; }

namespace chordella::cli {

struct SonglistCommandFlags {
    std::string list;
    bool play = false;
    int from = 1;                     // --from: the first entry played (1-based)
    bool session = false;             // --session: every song repeated at its ending mark
    int repeats = 2;                  // --repeats: plays per song in session mode (0: off; above 20: 20)
    std::string port;                 // --out: an output's number or name; empty = the built-in synth
    std::string style;                // --style: the style for songs that name none
    std::string add;                  // --add SONG: the song to add
    std::string title;                // --title: its title (default: the song's own, else its file name)
    std::optional<std::string> home;  // --home
};

// `backend`: where the output comes from when playing (none: the system's).
int RunSonglistCommand(const SonglistCommandFlags& flags, std::FILE* out, std::FILE* err,
                       std::unique_ptr<midi::MidiBackend> backend = nullptr);

}  // namespace chordella::cli
