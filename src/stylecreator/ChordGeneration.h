#pragma once
// Generating chords from the creator's material: the material is read from its start
// without timing, the pitch classes of its note-ons (drum channel 10 left out) are collected,
// and at the end of every interval of 1 … 8 beats the collected notes are named with the
// recogniser's analysis mode. A chord is written into the chord memory at the interval's first
// beat only where it differs from the chord written before, so the chord memory shows a
// change exactly where the harmony changes.

#include "chords/ChordState.h"
#include "data/ChordMemory.h"
#include "data/CreatorWork.h"
#include "stylecreator/CreatorState.h"

namespace chordella::stylecreator {

// Positions at which generation stops at the latest (the chord memory holds 12010 bytes).
inline constexpr int GenerationPositionLimit = 12000;

struct GenerationRequest {
    GeneratorSettings Settings;
    int StartPosition = data::FirstPosition;   // chord-memory units; the first interval starts here
    int StopPosition = GenerationPositionLimit; // the interval reaching it is the last one
    int MeasureUnits = 16;
    int Transpose = 0;                          // semitones added to every collected key
    chords::ChordState Zone;                    // where roots are placed (the chord zone's first key)
};

struct GenerationResult {
    int ChordsWritten = 0;
    int LastBeatPosition = 0;                   // the last beat of material read (0: none)
    bool ReachedLimit = false;                  // stopped at the stop position or at 12000
};

// Writes the chords into `memory`, which the caller has cleared. The chord memory's length
// then covers the material measure by measure, closed by a STOP record.
GenerationResult GenerateChordsFrom(data::CreatorWork& work, data::ChordMemory& memory,
                                    const GenerationRequest& request);

// True when any record of the memory starts a chord.
bool HoldsChords(const data::ChordMemory& memory);

}  // namespace chordella::stylecreator
