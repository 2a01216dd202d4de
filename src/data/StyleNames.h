#pragma once
// Style names as the program shows them, and the lookup of a stored style path.

#include <string>

#include "data/StyleModel.h"

namespace chordella::data {

// Where a stored style path is found: the path itself, then the rest after "\chordella" in
// the data home, then the data home's STYLES folder with the stored file name. Empty when
// none exists.
std::string FindStyleFile(const std::string& storedPath, const std::string& dataHome, const std::string& stylesFolder);

// "Rock&roll" for "ROCK&ROLL.vxs" (lower case, first letter upper, extension dropped).
std::string StyleDisplayNameOf(const std::string& fileName);
// The caption form: the first "&" doubled, " / Var.Basic" / " / Var.Extended" for variation fills.
std::string StyleCaptionNameOf(const std::string& displayName, const PartTable& parts);
// The main window's short label: the first 10 characters followed by " ...".
std::string StyleShortLabelOf(const std::string& displayName);

}  // namespace chordella::data
