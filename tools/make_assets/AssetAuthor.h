#pragma once
// Authors the bundled files from the readable sources: every *.style becomes styles/NAME.vxs,
// every *.song songs/NAME.vxa, every *.list songs/NAME.VXL (the default songlist lives beside
// the songs). Sources are taken in name order, so the result never depends on the folder's
// listing order.

#include <cstdint>
#include <string>
#include <vector>

namespace chordella::tools {

struct AuthoredFile {
    std::string RelativePath;          // "styles/cont1.vxs"
    std::vector<std::uint8_t> Bytes;
};

// Compiles every source in `sourceFolder`. False with "FILE: line N: reason".
bool AuthorAssets(const std::string& sourceFolder, std::vector<AuthoredFile>& files, std::string& error);

// Writes the files below `assetsFolder` (atomically, folders made as needed).
bool WriteAssets(const std::vector<AuthoredFile>& files, const std::string& assetsFolder, std::string& error);

// The files below `assetsFolder` whose bytes differ from the authored ones or are missing.
std::vector<std::string> DifferingAssets(const std::vector<AuthoredFile>& files, const std::string& assetsFolder);

}  // namespace chordella::tools
