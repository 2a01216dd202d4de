#pragma once
// Where the style a song names may be found. Songs store the style's full path as it was
// on the machine that saved them, often a Windows path ("C:\Chordella\STYLES\Pop.vxs").
// The candidates, in the order they are tried:
//   1. the stored path as it is (and with '\' turned into '/');
//   2. when the path contains "\chordella" or "/chordella" (any case), the rest of the path
//      after it, below the data home ("\STYLES\Pop.vxs" → <home>/STYLES/Pop.vxs);
//   3. the file name in the data home's STYLES folder.
// The style module's open-by-path uses this for the song's autoload. Control thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Paths.h"

namespace chordella::data {

std::vector<std::string> SongStyleCandidates(std::string_view storedPath, const platform::Paths& paths);
// The first candidate that exists as a file; nullopt for none (and for an empty path).
std::optional<std::string> FindSongStyle(std::string_view storedPath, const platform::Paths& paths);

}  // namespace chordella::data
