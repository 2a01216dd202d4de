#include "composer/SongCreatorOptions.h"

namespace chordella::composer {

void ApplySimpleSongs(SongCreatorOptions& options) {
    options.RandomStyle = true;
    options.RandomKey = true;
    options.SeventhChords = false;
    options.SusChords = false;
    options.Keys = KeyChoice::MajorAndParallelMinor;
    options.SimpleSongs = true;
}

}  // namespace chordella::composer
