#pragma once
// The MIDI notes of the keyboard's control keys and chord zone. The settings keep each key
// as a note index (0 … 11, C … B) and an octave index; the key is note + 12 × octave.
// Below the lowest of the four section keys lie five more command keys: Intro, PAD on,
// PAD off, Extended and Basic, one, two, three, four and five semitones lower.

#include <cstdint>

namespace chordella::data {

struct KeyNoteAndOctave {
    int Note = 0;    // 0 … 11
    int Octave = 0;  // octave index
};

struct ControlKeySettings {
    KeyNoteAndOctave FillIn;
    KeyNoteAndOctave Ending;
    KeyNoteAndOctave ToExtended;
    KeyNoteAndOctave ToBasic;
    KeyNoteAndOctave FirstChordKey;
    KeyNoteAndOctave LastChordKey;
};

// MIDI note numbers; a key that falls outside 0 … 127 is -1 (no key answers to it).
struct ControlKeys {
    int FillIn = 36;
    int Ending = 38;
    int ToExtended = 37;
    int ToBasic = 39;
    int Intro = 35;
    int PadOn = 34;
    int PadOff = 33;
    int Extended = 32;
    int Basic = 31;
    int FirstChordKey = 40;  // lowest key of the chord zone
    int LastChordKey = 59;   // highest key of the chord zone
};

// note + 12 × octave, or -1 when that is no MIDI note.
int KeyNote(KeyNoteAndOctave key);

ControlKeys DeriveControlKeys(const ControlKeySettings& settings);

}  // namespace chordella::data
