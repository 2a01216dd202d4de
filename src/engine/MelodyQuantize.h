#pragma once
// Quantizing a recorded melody: every note-on moves to the nearest line of a grid and its
// note-off moves by the same amount, so the note keeps its length (with humanize the
// note-off's shift is shortened at random). Works on the track's recording (the backup), so
// quantizing twice is quantizing the recording once with the second grid. Control thread.

#include <cstdint>
#include <string_view>

#include "data/MelodyEvent.h"

namespace chordella::platform { class Random; }

namespace chordella::engine {

// The grid items of "&Quantize", in menu order; the grid in melody ticks (0 = "None").
inline constexpr int MelodyGridCount = 7;
// Any thread. The grid of an item caption ("1/16", "1/8 swing", "None" …); −1 for none known.
int MelodyGridOf(std::string_view caption);

// Control thread. The track becomes its backup, then (grid > 0) every note-on moves to the
// grid. `random` is used only with `humanize`. Events are not re-sorted.
void QuantizeMelodyTrack(data::MelodyTrack& track, int grid, bool humanize, platform::Random& random);

}  // namespace chordella::engine
