#pragma once
// The song creator's options, each with the caption the user sees and its default.

namespace chordella::composer {

// The six key choices, in the window's order.
enum class KeyChoice {
    OneMajorKey,             // "Chords of only 1 Major key"
    OneMinorKey,             // "Chords of only 1 Minor key"
    MajorAndParallelMinor,   // "Chords of 2 keys - Major key && parallel Minor key"
    MajorAndRelativeMinor,   // "Chords of 2 keys - Major key && relative Minor key"
    SixKeysRelativeMinor,    // "Chords of 6 keys - Major keys && relative Minor keys"
    SixKeysParallelMinor,    // "Chords of 6 keys - Major keys && parallel Minor keys"
};

// How often the chord changes.
enum class ChordRate {
    EveryTwoMeasures,  // "Change chord always every two measures"
    EveryMeasure,      // "Change chord always every measure"
    EveryHalfMeasure,  // "Change chord every half measure"
    Random,            // "Randomly set the number of chord changes"
};

struct SongCreatorOptions {
    int SongMeasures = 32;                  // "Song measures:"
    bool OnlyMajorMinorChords = true;       // "Use only major && minor chords;  "
    bool OnlyPrincipalChords = true;        // "I, ii ,iii, IV, V, vi" (enabled only with the previous)
    bool SeventhChords = true;              // "Use 7th chords"
    bool SusChords = true;                  // "Use sus chords"
    KeyChoice Keys = KeyChoice::OneMajorKey;
    bool RandomKey = true;                  // "Randomly choose key"
    bool RandomKeyWhiteOnly = true;         // "only from C,D,E,F,G,A,B"
    bool StartWithBaseChord = true;         // "Start new key with its base chord"
    bool BaseChordOnlyFirstKey = true;      // "only at 1.key"
    ChordRate Rate = ChordRate::Random;
    bool TempoVariations = true;            // "Allow tempo variations (+/- 2)"
    bool LoopsInSong = true;                // "Allow loops within the song"
    bool OneProgressionPerSong = false;     // "Use only one chord progression per song"
    bool SequentialProgressions = false;    // "Sequential call of common chord progressions"
    bool RandomStyle = true;                // "Randomly choose style"
    bool PlayIntro = true;                  // "Play Intro"
    bool WithBassTrack = false;             // "... with bass track"
    // The mode button "Generate simple songs: 2 keys, maj. && min. chords" was pressed last
    // (rather than "Generate completely random songs"): random chords come from 13 entries.
    bool SimpleSongs = false;

    // The key and mode of the main window, used when "Randomly choose key" is off:
    // indexes into the key list (fifths order) and the mode list.
    int KeyIndex = 0;
    int ModeIndex = 0;
};

// "Generate simple songs: 2 keys, maj. && min. chords": random style and key on, 7th and
// sus chords off, two keys with the parallel minor.
void ApplySimpleSongs(SongCreatorOptions& options);

}  // namespace chordella::composer
