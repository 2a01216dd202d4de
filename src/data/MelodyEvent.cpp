#include "data/MelodyEvent.h"

#include <algorithm>

namespace chordella::data {

void ClearMelody(MelodyTrack& track) {
    std::fill(track.MelodyBuffer.begin(), track.MelodyBuffer.end(), MelodyEvent{});
    std::fill(track.MelodyBackup.begin(), track.MelodyBackup.end(), MelodyEvent{});
    track.MelodyCount = 0;
}

}  // namespace chordella::data
