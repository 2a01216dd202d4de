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
    // Clock.
    bool SlaveMode = false;             // "Slave Mode"
    bool MasterMode = false;            // "Master Mode"
    bool ChordPreviewVariable = false;  // "Chordpreview var."
    bool Metronome = false;             // "Metronome"
    bool TempoDetection = true;         // "Tempo Detection"

    // Accompaniment engine.
    bool TransmitControllers = false;   // "Transmit Controllers"
    bool CompLimit = false;             // "Comp. / Limit."
    bool MinusOne = false;              // "Minus One"
    bool AllowPitchBend = false;        // "Allow pitch bend"
    bool ReverbOff = false;             // "Reverb off"
    bool ReverbDefined = false;         // "Reverb defined"
    bool SoloOnChannel1 = false;        // "Solo on channel 1"
    bool AdjustOctave = false;          // "Adjust Octave"
    bool HarmonicPad = false;           // " Harmonic PAD, transposed"
    int PadChannel = 15;                // the pad channel, 0-based
    int PadOctave = 0;                  // the pad's octave field
    bool PadResetAtChordChanges = false;  // "PAD : channelreset at chordchanges"
    bool PadMuteAtIntrosEndings = false;  // "PAD : mute at intros && endings"
    bool ChordOutputChannel1 = false;   // "Chord output on channel 1"
    int ChordOutputVolume = 100;        // its volume
    int ChordChangeMode = 1;            // "Style/chord changes : strong --> smart" (0 … 2)
};

}  // namespace chordella::app
