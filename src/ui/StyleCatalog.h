#pragma once
// What the style browser lists: the style files of a folder and, for each, the name the
// program shows, its meter and its tempo. Plain C++ over the style reader, so the browser
// and its tests share it. A file that cannot be read is listed with its name and why.
//
// Any thread (it touches no program state); the browser calls it on its own thread a few
// files at a time.

#include <string>
#include <vector>

namespace chordella::ui {

struct StyleEntry {
    std::string Path;
    std::string Name;     // "Rock&roll" for ROCK&ROLL.vxs
    std::string Meter;    // "4/4"; empty for styles of other makers (converted when loaded)
    int Tempo = 0;        // beats per minute; 0 = not known
    std::string Problem;  // why the file could not be read; empty when it could
};

// The style files of `folder` and of its subfolders (one level), sorted by file name.
std::vector<std::string> StyleFilesIn(const std::string& folder);

// The entry of one file: a .vxs style is read and checked; other style formats are listed
// by name only.
StyleEntry DescribeStyleFile(const std::string& path);

// True when every word of `search` (spaces between, case ignored) is part of the name, or
// when the search is a number that is the tempo, or a meter ("3/4") that is the meter.
bool EntryMatches(const StyleEntry& entry, const std::string& search);

}  // namespace chordella::ui
