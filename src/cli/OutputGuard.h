#pragma once
// What a command may write with -o: never one of the files it reads, never something that
// is not a file (a folder, a FIFO), and an existing file only when it is of the kind the
// command writes (a work file, a MIDI file, a WAV file) or `force` (--force) is given.
// An empty existing file holds nothing to lose and may be written.

#include <string>
#include <vector>

namespace chordella::cli {

// SongFile: a song the reader takes; TextFile: a file without NUL bytes in its first 4 KiB
// (a lead sheet or a chart written before).
enum class OutputKind { WorkFile, MidiFile, WavFile, SongFile, TextFile, StyleFile };

// The kind a command writes to `path`, from its extension: .wav is a WAV file, anything
// else a MIDI file (for export and render).
OutputKind RenderOutputKind(const std::string& path);

// True when `output` may be written; else false with `error` a reason to follow the
// output's name ("is the input file", "is an existing file that is not a work file; …").
bool MayWriteOutput(const std::string& output, const std::vector<std::string>& inputs, OutputKind kind, bool force,
                    std::string& error);

}  // namespace chordella::cli
