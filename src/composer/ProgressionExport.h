#pragma once
// The editor's progression-list export: the common progressions as text, one quoted
// name and its numerals per line under section headings, saved as "CCPList.csv".

#include <string>

namespace chordella::composer {

inline constexpr const char* ProgressionListFileName = "CCPList.csv";
inline constexpr const char* SaveProgressionListQuestion =
    "Should the list be saved in the Chordella directory under \"CCPList.csv\"?";

// "COMMON CHORD PROGRESSIONS", then for each row (after an empty line, the section's label
// and another empty line where a section starts) "name","I - vi - IV - V". Lines end in LF.
std::string ProgressionListText();

// Writes the text as "CCPList.csv" in `folder` (temporary file, then rename). False with
// `error` set when it could not be written; an older list stays as it was.
bool SaveProgressionList(const std::string& folder, std::string& error);

}  // namespace chordella::composer
