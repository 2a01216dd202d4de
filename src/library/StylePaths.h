#pragma once
// Where the file of a style entry is. Group files often come from another machine and hold
// Windows paths ("C:\Chordella\STYLES\Pop\Ballad.VXS"). Tried in order:
//   1. the stored path as it is, and with '\' turned into '/';
//   2. the part after "STYLES" (any case, either separator) below the data home's STYLES
//      folder, each folder and the file name matched without regard to case, else the file
//      name alone in that folder;
//   3. the rest after "\chordella" below the data home.
//
// Control thread.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Paths.h"

namespace chordella::library {

std::optional<std::string> FindStyleEntryFile(std::string_view storedPath, const platform::Paths& paths);

}  // namespace chordella::library
