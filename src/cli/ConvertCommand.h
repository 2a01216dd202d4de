#pragma once
// `chordella convert FILE [FILE…] -o DIR [--sets 1-6] [--normalize] [--no-casm] [--native]`:
// keyboard style files of other makers converted into styles of ours, one style per variations
// set, with the converter window's options as flags (`--native`: the conversion mode
// "Channel table (native)", the maker's notes kept with each channel's rules); `--import-parts ITEM` reads folders of
// style-part MIDI files instead, `--export-parts N` also writes each style's parts.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace chordella::cli {

struct ConvertCommandFlags {
    std::vector<std::string> inputs;
    std::string outputFolder;
    std::string sets = "1-6";           // "3" or "1-6"
    bool normalize = false;             // normalise the volumes of every style written
    bool noCasm = false;                // ignore the files' channel tables
    bool native = false;                // "Channel table (native)": notes kept, rules in the file
    bool channels = false;              // a line per part and channel: kept, moved or dropped
    // The converter window's options.
    bool keepIntroEnding = false;       // "Do not convert Intro and Ending"
    bool noBeat2 = false;               // not "Start with beat 2 at 3/4 measure styles"
    bool keepChannels9And11 = false;    // not "Process events of channels 9 and 11"
    std::string random;                 // "set": "Choose variations set randomly"; "parts": "Choose style parts randomly"
    // Sets of style parts as MIDI files: the inputs are folders of part files read as the
    // set "1 - 11" … "4 - 21"; or each converted style's parts written as set 1 … 4.
    std::string importParts;            // "1 - 11", "1-11" …; empty: the inputs are style files
    int exportParts = 0;                // 1 … 4: the last style written, as set N; 0: none
    std::optional<std::string> home;
};

// The set numbers (1 … 6) of a --sets value; empty for a value that is not "N" or "A-B".
std::vector<int> ParseSetRange(const std::string& text);
// The import item of "1 - 11", "1-11", "4 - 21" …; nullopt for another text.
struct PartSetItem { int SetDigit = 1; int Variant = 11; };
std::optional<PartSetItem> ParsePartSetItem(const std::string& text);

int RunConvertCommand(const ConvertCommandFlags& flags, std::FILE* out, std::FILE* err);

}  // namespace chordella::cli
