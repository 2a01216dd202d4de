#pragma once
// The main window's play boxes: switches of the performance that a songlist entry keeps
// with its song. Each is an option read at the moment of use.

namespace chordella::app {

enum class PlayBox {
    Chords,          // " Chords": notes of the chord zone make chords
    Instruments,     // " Instruments ...": the instrument keys of the keyboard
    HarmonicPad,     // " Harmonic PAD, transposed"
    MelodyAdLib,     // " Melody Ad Lib"
    SendChordCodes,  // " Send Chord Codes  (Controllers #19,  #20)  to Ch."
};
inline constexpr int PlayBoxCount = 5;

}  // namespace chordella::app
