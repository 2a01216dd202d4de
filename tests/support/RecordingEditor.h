#pragma once
// A chord-memory editor stand-in for the pads: it records every chord it is handed.

#include <utility>
#include <vector>

#include "chords/ChordEntry.h"

namespace chordella::testing {

struct RecordingEditor final : chords::PadEditorLink {
    bool ChordEntryMode() override { return EntryMode; }
    void TakeChord(int root, int slot) override { Taken.emplace_back(root, slot); }
    bool EntryMode = false;
    std::vector<std::pair<int, int>> Taken;  // (root, slot), in order
};

}  // namespace chordella::testing
