#pragma once
// The data home: SONGS, STYLES and LISTS beside the settings file, and the bundled files
// (demo styles, songs, lists) copied into it on the first start.

#include <string>
#include <vector>

#include "platform/Paths.h"

namespace chordella::app {

struct CopyReport {
    std::vector<std::string> Copied;   // destination paths
    std::vector<std::string> Kept;     // destinations that existed and were left alone
    std::vector<std::string> Failed;   // "path: reason"
};

// Copies the bundled assets folder into the data home. Its folders "styles", "songs" and
// "lists" (any case) go to STYLES, SONGS and LISTS; other files and folders keep their
// names; hidden files and README.md stay behind. A file that already exists in the home
// is never overwritten: it may be the user's own or one the user changed.
CopyReport CopyBundledFiles(const std::string& assetsFolder, const platform::Paths& paths);

// Where the bundled assets are: beside an installed binary (<prefix>/share/chordella/assets),
// else the source tree's assets folder the build was made from. Empty when neither exists.
std::string BundledAssetsFolder(const std::string& executablePath);

}  // namespace chordella::app
