#pragma once
// Chord names ("E min7") and key names ("Key: Eb maj") as the program shows them.

#include "chords/ChordState.h"
#include "chords/NoteNames.h"

namespace chordella::chords {

// NoteNames[pitch class − capo position] + " " + the type's name; a type outside the
// table is named "maj". Any root and type give a name; nothing is read out of range.
NameText ChordName(const ChordState& state, int root, int type);

// The name of a key mark: the key's pitch class is (transposition + key note) mod 12.
// Unless suppressSignChange, NoteNames is first recopied in the key's spelling (sharps
// or flats by the key spelling table of its mode). "Key: " + note name + " maj" or " min".
NameText KeyName(ChordState& state, int keyNote, bool minor, int transposition, bool suppressSignChange);

}  // namespace chordella::chords
