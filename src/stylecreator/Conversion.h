#pragma once
// Converting the creator's material to a style: every note of every channel but the drum
// channel is moved from the chord that sounds at its time (the chord memory's) to the
// reference chord C major, by one of seven modes. A note-off always receives the key its
// note-on was given, so a chord change between the two never leaves a note sounding.

#include <array>
#include <cstdint>

#include "data/ChordMemory.h"
#include "data/CreatorWork.h"
#include "stylecreator/CreatorState.h"

namespace chordella::stylecreator {

// Added to a pitch class (relative to the chord's root) by chord type 1 … 17.
int TypeCorrection(int type, int pitchClass);
// Every pitch class to C, E or G (A# and B up to the next C).
inline constexpr std::array<int, 12> TriadSnap = {0, -1, -2, +1, 0, -1, +1, 0, -1, -2, +2, +1};
// Chromatic notes and B to chord notes; D, F and A stay.
inline constexpr std::array<int, 12> ChordNoteSnap = {0, -1, 0, +1, 0, 0, +1, 0, -1, 0, +2, +1};

// The shift of a chord root: its pitch class p, or p − 12 above G (so −4 … 7).
int RootShift(int root);
// One key under a chord (root pitch class and type) by modes 0 … 5; mode 6 is KeyToC.
int ConvertKey(int key, int root, int type, ConvertMode mode);
// Mode 6: the C of the key's own octave below F#, else the C above (an octave lower past 127).
int KeyToC(int key);

// Which channels mode 6 and the note shifts touch: not muted, and passing the solo filter
// (0 = every channel, 1 … 16 = that channel only, anything else = none).
struct ChannelFilter {
    std::array<std::uint8_t, 16> Muted{};
    int Solo = 0;
    bool Passes(int channel) const;
};

struct ConversionRequest {
    ConversionSettings Settings;
    int StartPosition = data::FirstPosition;  // chord-memory units, the first beat converted
    int StopPosition = data::FirstPosition;   // the first beat no longer converted
    ChannelFilter Filter;
};

// Converts in place; returns the number of note messages changed or given a new key.
int ConvertMaterial(data::CreatorWork& work, const data::ChordMemory& memory, const ConversionRequest& request);

}  // namespace chordella::stylecreator
