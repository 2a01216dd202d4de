#pragma once
// The pitch class of a note number: 0 … 11 with C = 0, for any note number, negative ones and
// those above 127 included (transposed and shifted notes pass through such values).

namespace chordella::midi {

constexpr int PitchClass(int note) { return ((note % 12) + 12) % 12; }

}  // namespace chordella::midi
