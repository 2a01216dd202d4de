#pragma once
// What the style browser lists: the style files of a folder and, for each, the name the
// program shows, its meter and its tempo. Plain C++ over the style reader, so the browser
// and its tests share it. A file that cannot be read is listed with its name and why.
//
// Any thread (it touches no program state); the browser calls it on its own thread a few
// files at a time.

#include <optional>
#include <string>
#include <vector>

#include "library/StyleQuery.h"

namespace chordella::ui {

struct StyleEntry {
    std::string Path;
    std::string Name;     // "Rock&roll" for ROCK&ROLL.vxs
    std::string Meter;    // "4/4"; empty for styles of other makers (converted when loaded)
    int Tempo = 0;        // beats per minute; 0 = not known
    std::string Problem;  // why the file could not be read; empty when it could
    // The entry as a playlist line ("path|bpm120|4/4|description||BASS"): what a query of
    // the search language is matched against.
    std::string Line;
};

// The style files of `folder` and of its subfolders (one level), sorted by file name.
std::vector<std::string> StyleFilesIn(const std::string& folder);

// The entry of one file: a .vxs style is read and checked; other style formats are listed
// by name only.
StyleEntry DescribeStyleFile(const std::string& path);

// The entry of a line of the style playlist or the favourites. `file` is the line's style
// file on this machine; without one the entry says it was not found.
StyleEntry EntryOfListLine(const std::string& line, const std::optional<std::string>& file);
std::vector<StyleEntry> EntriesOfList(const std::vector<std::string>& lines, const std::vector<std::string>& files);

// True when every word of `search` (spaces between, case ignored) is part of the name, or
// when the search is a number that is the tempo, or a meter ("3/4") that is the meter.
bool EntryMatches(const StyleEntry& entry, const std::string& search);

// What the browser's search box holds. Plain words narrow by name, tempo and meter as
// EntryMatches does; a text with ";" or beginning with a sign of the playlist's search
// language ("+", "-", "!", "=", ">", "<", "*") is a query of that language, matched
// against each entry's line ("!pop !ballad; <125; >65; +4/4").
class StyleFilter {
public:
    explicit StyleFilter(const std::string& search);
    bool IsQuery() const { return isQuery_; }
    // Why the query cannot be used (then nothing matches); empty when it can.
    const std::string& Problem() const { return query_.Error; }
    bool Matches(const StyleEntry& entry) const;

private:
    std::string search_;
    bool isQuery_ = false;
    library::StyleQuery query_;
};

}  // namespace chordella::ui
