#pragma once
// The user's options, read at the moment of use. Each field carries, as its comment, the
// caption the user sees; the configuration file reads and writes them.

namespace chordella::app {

struct Options {
    // Chord input and chord types.
    bool TriadChords = false;         // "Triad chords"
    bool MajorMinor = false;          // "Major <> Minor"
    bool PlayChords = false;          // "Play Chords"
    bool TwoFingerChords = false;     // "Two-Finger"
    bool SharpSpelling = false;       // "Flat <> Sharp"
    bool SuppressSignChange = false;  // "Suppress sign change"
    // Chord codes on controllers 19 and 20.
    bool SendChordCodes = false;      // " Send Chord Codes  (Controllers #19,  #20)  to Ch."
    int ChordCodeChannel = 0;         // the channel beside " Send Chord Codes  (Controllers #19,  #20)  to Ch." (0-based)
    bool ReceiveChordCodes = true;    // "Receive Chord Codes"
    bool MelodyAdLib = false;         // " Melody Ad Lib"
    // Songs.
    bool AutoloadStyle = true;  // "Autoload style"
    bool AutoPopUp = true;      // song info "Auto pop-up"
};

}  // namespace chordella::app
