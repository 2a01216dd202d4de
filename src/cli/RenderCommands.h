#pragma once
// The commands that play what the program plays: `chordella export`, `chordella render` and
// `chordella play`. Each returns the exit code (0 success, 1 with a one-line "file: reason"
// on `err`).

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/AudioOptions.h"
#include "app/RenderInput.h"
#include "midi/MidiBackend.h"

namespace chordella::cli {

struct RenderCommandFlags {
    std::string input;                 // SONG.vxa or STYLE.vxs
    std::string output;                // OUT.mid (export, render) or OUT.wav (render)
    std::string style;                 // --style: the style a song is played with
    int measures = app::NoMeasures;         // --measures: at most this many (none: the song's end; 8 for a style)
    int set = 1;                       // --set N: the variations set of another maker's style (1 … 6)
    bool force = false;                // --force: replace an existing file of another kind
    std::optional<std::string> home;   // --home
    app::AudioFlags audio;                  // --soundfont, --volume, --reverb, --chorus (render to .wav)
};

int RunExportCommand(const RenderCommandFlags& flags, std::FILE* out, std::FILE* err);
int RunRenderCommand(const RenderCommandFlags& flags, std::FILE* out, std::FILE* err);

struct PlayCommandFlags {
    std::string input;                 // SONG.vxa or STYLE.vxs
    std::string style;                 // --style
    std::string port;                  // --out: an output's number or name; empty = the built-in synth
    int measures = app::NoMeasures;         // --measures: a style alone plays this many (none: until Ctrl-C)
    int set = 1;                       // --set N: the variations set of another maker's style (1 … 6)
    std::optional<std::string> home;   // --home
    app::AudioFlags audio;                  // the built-in synth's settings
};

int RunPlayCommand(const PlayCommandFlags& flags, std::FILE* out, std::FILE* err);
// The same on the ports of `backend` (tests hand in the in-memory devices). Ctrl+C, SIGTERM
// and SIGHUP stop the music with every note released; the exit code is 0 then too.
int RunPlay(std::unique_ptr<midi::MidiBackend> backend, const PlayCommandFlags& flags, std::FILE* out,
            std::FILE* err);

}  // namespace chordella::cli
