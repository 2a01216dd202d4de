#pragma once
// One style of a group: a single text line
//   "%-25.25sMet: %s  Beat: %d  Tracks: %d{1}" + description + "{2}" + full path
// built from the file name in lower case, the metrum text, the style's tempo and the
// number of channels that play. Characters 26 up to "{1}" are the info text.

#include <string>
#include <string_view>

#include "data/StyleModel.h"

namespace chordella::library {

inline constexpr std::string_view DescriptionMark = "{1}";
inline constexpr std::string_view PathMark = "{2}";
inline constexpr std::size_t EntryNameWidth = 25;

// What an entry says about a style.
struct StyleInfo {
    std::string MetrumText;  // "4/4"; "?" when the meter has no "Metrum" entry
    int Tempo = 0;           // the header's tempo
    int Tracks = 0;          // channels with notes
};

struct StyleEntryParts {
    std::string Info;         // "Met: 4/4  Beat: 120  Tracks: 9"
    std::string Description;
    std::string Path;         // as stored: may be a Windows path from another machine
};

// The entry for a style. Line breaks and the two marks are taken out of the description,
// so the entry stays one line that splits back into the same parts.
std::string FormatStyleEntry(const std::string& path, const StyleInfo& info, std::string_view description);
// The parts of a stored entry. A line without the marks has no description and no path.
StyleEntryParts SplitStyleEntry(std::string_view entry);
// The description as an entry keeps it.
std::string CleanDescription(std::string_view description);
// True when the entry names this file ("{2}" + path at its end).
bool EntryNamesPath(std::string_view entry, std::string_view path);

// The info of a loaded style: `metrumText` is what the main window's "Metrum" shows.
StyleInfo StyleInfoOf(const data::StyleHeader& header, std::string_view metrumText);
// The info read from a style file on disk: a .vxs file with the same checks as loading it,
// or a keyboard style of another maker (a MIDI file: its first time signature and tempo, the
// channels with notes). False with the reason when the file cannot be read or is no style.
bool ReadStyleInfo(const std::string& path, StyleInfo& info, std::string& error);
// The "Metrum" caption a style's StyleMeter selects; "?" for none.
std::string MetrumTextOf(std::int16_t styleMeter);

}  // namespace chordella::library
