#include "support/TestPaths.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace chordella::testing {

std::string AssetsFolder() { return CHORDELLA_SOURCE_DIR "/assets"; }
std::string AssetSourcesFolder() { return CHORDELLA_SOURCE_DIR "/tools/assets-src"; }
std::string TestsFolder() { return CHORDELLA_SOURCE_DIR "/tests"; }
std::string ChordellaExe() { return CHORDELLA_EXE; }

std::string DefaultCorpusFolder() {
    const char* chosen = std::getenv("CHORDELLA_CORPUS");
    if (chosen && std::string(chosen) == "none") return "/nonexistent/chordella-corpus";
    return chosen && *chosen ? chosen : CHORDELLA_SOURCE_DIR "/../shared/corpus";
}

std::vector<std::string> CorpusFiles(const std::string& sub) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(DefaultCorpusFolder()) / sub, error), end; !error && it != end;
         it.increment(error))
        if (it->is_regular_file()) files.push_back(it->path().string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace chordella::testing
