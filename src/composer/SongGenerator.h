#pragma once
// The song creator's generation: a whole song of chords measure by measure, from the
// common progressions or from random chords of a key's chord groups, with key sections,
// section commands at the phrase ends, loops and an ending.
//
// Every random choice draws from the random source handed in, in a fixed order, so the
// same seed, options and inputs give the same song.

#include "composer/GeneratedSong.h"
#include "composer/SongCreatorOptions.h"
#include "data/ControlKeys.h"

namespace chordella::platform { class Random; }

namespace chordella::composer {

class ProgressionChoice;

enum class GenerationMode {
    Progressions,      // chords from the common progression table
    RandomChords,      // "Create chords" without a list choice: the options' chord groups
    CompletelyRandom,  // "Generate completely random song": settings drawn as well
};

// What the generation reads from the rest of the program.
struct GeneratorInputs {
    int Tempo = 120;          // beats per minute
    int MeasureUnits = 16;    // of the loaded style (16 = 4/4, 12 = 3/4, 8 = 2/4)
    int ChordZoneLowestKey = 40;
    data::ControlKeys Keys;   // the section keys the commands name
    int BasicPartMeasures = 4;  // fills are written only for a Basic part of at most 4 measures
};

// Songs are at most this long, so that the ending and its STOP fit the chord memory.
int MaxGeneratedMeasures(int measureUnits);

// `choice` is needed in progression mode (nullptr falls back to random chords).
GeneratedSong GenerateSong(const SongCreatorOptions& options, GenerationMode mode, ProgressionChoice* choice,
                           const GeneratorInputs& inputs, platform::Random& random);

}  // namespace chordella::composer
