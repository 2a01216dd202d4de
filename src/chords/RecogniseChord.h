#pragma once
// Naming a set of held notes as a chord: every root from C to B is tried with every chord
// type from the highest down; a chord tone found in the list scores. The best score wins;
// ties go to the lowest root and, at the same root, to the highest type number.

#include "chords/ChordState.h"
#include "chords/ChordTypes.h"
#include "core/HeldNotes.h"
#include "core/Links.h"

namespace chordella::chords {

enum class RecogniseMode {
    // Live play: a tone scores once when it is held at all; each call starts afresh; the
    // list is left as it is.
    Live = 0,
    // The style creator's analysis: every occurrence scores; the previous call's chord
    // stands unless a candidate beats (count div divisor); the list is emptied.
    Analysis = 1,
};

// Names the held notes: the chord's root is placed in the chord zone's lowest octave.
// `highestIndex` is the highest type index tried (type − 1; 16 for all seventeen types).
// With an empty list nothing is named ({0, 0}); one note in live mode is only remembered in
// the list as a major chord, and nothing is named either. Allocates nothing.
core::ChordPair RecogniseChord(HeldNoteList& list, const ChordState& state, int highestIndex, RecogniseMode mode,
                               int divisor = 1);

// The key of the chord zone's lowest octave that has the pitch class: the lowest key at or
// above FirstKey, kept a playable note (1 … 127).
int PlaceInChordZone(const ChordState& state, int pitchClass);

}  // namespace chordella::chords
