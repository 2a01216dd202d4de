#pragma once
// `chordella convert FILE [FILE…] -o DIR [--sets 1-6] [--normalize] [--no-casm]`: keyboard
// style files of other makers converted into styles of ours, one style per variations set.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace chordella::app {

struct ConvertCommandFlags {
    std::vector<std::string> inputs;
    std::string outputFolder;
    std::string sets = "1-6";           // "3" or "1-6"
    bool normalize = false;             // normalise the volumes of every style written
    bool noCasm = false;                // ignore the files' channel tables
    bool channels = false;              // a line per part and channel: kept, moved or dropped
    std::optional<std::string> home;
};

// The set numbers (1 … 6) of a --sets value; empty for a value that is not "N" or "A-B".
std::vector<int> ParseSetRange(const std::string& text);

int RunConvertCommand(const ConvertCommandFlags& flags, std::FILE* out, std::FILE* err);

}  // namespace chordella::app
