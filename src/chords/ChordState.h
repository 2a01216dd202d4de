#pragma once
// The chord fields of the application state. A chord is a pair (root, type): the root a
// MIDI note number (≤ 0 = no chord; 128 in the current pair = no chord is current), the
// type a row of the chord-type table.

#include <array>
#include <cstdint>

#include "chords/ChordSlotMap.h"
#include "chords/NoteNames.h"

namespace chordella::chords {

// The root stored in the current pair when no chord is current.
inline constexpr std::int16_t NoCurrentChord = 128;
// SetChord's offset that means "add nothing".
inline constexpr std::int16_t NoOffset = 129;

struct ChordState {
    // The chord most recently set (by SetChord or a received chord code).
    std::int16_t CurrentRoot = NoCurrentChord;
    std::int16_t CurrentType = 0;
    // Set when a pad handed its chord to the chord-memory editor and left no chord current:
    // a style in style mode is silent then until the next chord. Before the first chord no
    // chord is current either, but a style started then plays as written.
    bool ChordGivenToEditor = false;
    // A type chosen in advance by a chord-type key or pad; with TypeOverrideOnce, SetChord
    // uses it once and clears both.
    std::int16_t TypeOverride = 0;
    bool TypeOverrideOnce = false;
    // Lowest key of the chord zone; recognised roots are placed in its lowest octave. Change
    // it through SetFirstKey.
    std::int16_t FirstKey = 40;
    // The capo position shown in chord names (0 … 11): a chord sounding D is named C with 2.
    std::int16_t CapoPosition = 0;
    // The first key of a two-finger chord while it is remembered (0 = none).
    std::int16_t TwoFingerFirstKey = 0;
    // Slot → chord type, for two-finger distances, chord-type keys, pads and digit keys.
    ChordSlotMap SlotMap;
    // The note names chord and key names use: a copy of the flat or the sharp table.
    NoteNameTable NoteNames = FlatNoteNames;
};

// Sets the chord zone's lowest key, kept inside the keyboard (0 … 127).
inline void SetFirstKey(ChordState& state, int key) {
    state.FirstKey = static_cast<std::int16_t>(key < 0 ? 0 : key > 127 ? 127 : key);
}
// 12 − (FirstKey mod 12): added to a pitch class it counts up from the zone's lowest key.
inline int ZoneOffset(const ChordState& state) { return 12 - ((state.FirstKey % 12) + 12) % 12; }

}  // namespace chordella::chords
