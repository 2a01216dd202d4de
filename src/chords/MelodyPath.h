#pragma once
// The melody's adjustment to the music: "Key adjustment" moves what is played in C into the
// song's key, and "Melody Ad Lib" ("Use only C-maj scale keys !") moves notes played in C
// onto the scale of the chord that sounds. A note is always released where it started.

#include <cstdint>

#include "chords/ChordState.h"
#include "chords/KeyboardState.h"

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core

namespace chordella::chords {

class InputLink;

// The ad-lib shift of a key (pitch class relative to C, 0 … 11) under chord type 1 … 34:
// −1, 0 or +1 semitone. 0 for anything outside the table.
int AdLibShift(int type, int column);

// The Ctrl and Shift keys held while playing (the key adjustment's colour changes).
struct KeyModifiers {
    bool Ctrl = false;
    bool Shift = false;
};

// Control thread (the keyboard input). The note a press of `key` (already transposed,
// 0 … 127) sounds as with "Key adjustment" or "Melody Ad Lib" on. With ad lib, a sustain
// held on `channel` while the chord changed is lifted first (control changes 64 and 66 with
// value 0 on the main output), for presses and releases alike. A release answers `key`
// unchanged: the keyboard input sends every release to the note its press was sent as
// (KeyboardState::SentNote), so a note always ends where it started even when the chord,
// the spinners or the zones changed meanwhile. The result may lie outside 0 … 127: the
// caller drops such a note. With `forceAdLib` the note is adjusted as if " Melody Ad Lib"
// were on (notes entered on the computer or on-screen keyboard always follow the chord).
// `keyboard` keeps the chord root the last note was adjusted under (AdLibRoot).
int AdjustMelodyNote(core::Session& session, KeyboardState& keyboard, const ChordState& chordState,
                     const core::Options& options, InputLink& peers, int channel, int key, bool press,
                     KeyModifiers modifiers = {}, bool forceAdLib = false);

}  // namespace chordella::chords
