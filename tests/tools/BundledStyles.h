#pragma once
// The bundled styles as the tests find them: every .vxs file in assets/styles, by name.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace chordella::tools {

inline std::vector<std::string> BundledStyleNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(chordella::testing::AssetsFolder() + "/styles"))
        if (entry.path().extension() == ".vxs") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline std::string BundledStylePath(const std::string& name) { return chordella::testing::AssetsFolder() + "/styles/" + name; }

}  // namespace chordella::tools
