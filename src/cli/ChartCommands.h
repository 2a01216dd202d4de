#pragma once
// `chordella leadsheet` (a song's lead sheet or chord chart) and the chart side of
// `chordella import` (a ChordPro grid or an iReal Pro link into a new song). Each returns
// the exit code (0 success, 1 with a one-line "file: reason" on `err`).

#include <cstdio>
#include <string>

namespace chordella::cli {

struct LeadSheetFlags {
    std::string input;               // SONG.vxa
    std::string output;              // -o: empty = beside the song; "-" = standard output
    std::string format = "text";     // text, chordpro, musicxml, ireal
    std::string transpose;           // semitones, or Bb / Eb for transposing instruments
    bool force = false;              // --force: replace an existing file that is not a text file
};

int RunLeadSheetCommand(const LeadSheetFlags& flags, std::FILE* out, std::FILE* err);

// True for the files the chart import reads: .cho, .chopro, .chordpro, .crd, and text files
// holding an irealbook:// link.
bool IsChartFile(const std::string& path);

struct ChartImportFlags {
    std::string input;   // CHART.cho or LINK.txt
    std::string output;  // SONG.vxa
    std::string style;   // --style: the style the song names
    bool force = false;  // --force: replace an existing file that is not a song
};

int RunChartImportCommand(const ChartImportFlags& flags, std::FILE* out, std::FILE* err);

}  // namespace chordella::cli
