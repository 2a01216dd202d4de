#pragma once
// The user's options, read at the moment of use. Each field carries, as its comment, the
// caption the user sees; the configuration file reads and writes them.

namespace chordella::app {

struct Options {
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
    bool PlayChords = false;            // "Play Chords"
    bool SendChordCodes = false;        // " Send Chord Codes  (Controllers #19,  #20)  to Ch."
    int ChordCodeChannel = 0;           // the channel beside it, 0-based
    bool HarmonicPad = false;           // " Harmonic PAD, transposed"
    int PadChannel = 15;                // the pad channel, 0-based
    int PadOctave = 0;                  // the pad's octave field
    bool PadResetAtChordChanges = false;  // "PAD : channelreset at chordchanges"
    bool PadMuteAtIntrosEndings = false;  // "PAD : mute at intros && endings"
    bool ChordOutputChannel1 = false;   // "Chord output on channel 1"
    int ChordOutputVolume = 100;        // its volume
    int ChordChangeMode = 1;            // "Style/chord changes : strong --> smart" (0 … 2)

    // Transport and sections.
    bool CountIn = false;               // "Count in"
    bool PlayIntro = false;             // "Play Intro" (the style creator's intro switch)
    bool PlayEnding = true;             // "Play Ending"
    int FillInKey = 32;                 // "Fill in Key" (note number: key index + 12 × octave index)
    int EndingKey = 35;                 // "Ending Key"
    int ToExtKey = 34;                  // "To Ext. Key"
    int ToBasicKey = 33;                // "To Basic Key"
    int MetronomeNote = 33;             // the metronome's note (sent on channel 10)
    bool IgnoreTempi = false;           // "Ignore Tempi"
    bool IgnoreMidiCommands = false;    // "Ignore MIDI commands"
    // "Style, Intro && Ending": 0 "-   Mute None ", 1 "-   Mute All", 2 "-   Drums",
    // 3 "-   Drums L.M.", 4 "-   Metronome".
    int IntroStartMode = 0;
    int Solo = 0;                       // "Solo" selector: 0 "Nil", or a channel 1 … 16
    bool MixerMuteLock = false;         // the mixer's mute lock (part mutes are not applied)
};

}  // namespace chordella::app
