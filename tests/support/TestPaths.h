#pragma once
// Where the tests find the project's own files and the shared corpus of real files.
// The absolute paths are compiled into TestPaths.cpp alone, so every other test file is
// the same text in every checkout and build folder and the compiler cache can share it.

#include <string>
#include <vector>

namespace chordella::testing {

// The bundled assets of the source tree (styles, songs, lists).
std::string AssetsFolder();
// The readable sources the bundled assets are made from (tools/assets-src).
std::string AssetSourcesFolder();
// The source tree's tests folder.
std::string TestsFolder();
// The chordella executable of this build.
std::string ChordellaExe();
// The shared corpus of real MIDI and style files beside the checkout (it may be missing).
// CHORDELLA_CORPUS names another folder; "none" runs the tests as a fresh clone would.
std::string DefaultCorpusFolder();
// The files of the corpus folder `sub` ("styles", "midi"), sorted; none without a corpus.
std::vector<std::string> CorpusFiles(const std::string& sub);

}  // namespace chordella::testing
