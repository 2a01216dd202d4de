#include "support/TestPaths.h"

namespace chordella::testing {

std::string AssetsFolder() { return CHORDELLA_SOURCE_DIR "/assets"; }
std::string AssetSourcesFolder() { return CHORDELLA_SOURCE_DIR "/tools/assets-src"; }
std::string TestsFolder() { return CHORDELLA_SOURCE_DIR "/tests"; }
std::string ChordellaExe() { return CHORDELLA_EXE; }
std::string DefaultCorpusFolder() { return CHORDELLA_SOURCE_DIR "/../shared/corpus"; }

}  // namespace chordella::testing
