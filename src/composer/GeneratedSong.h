#pragma once
// What the song creator makes: the beat records of a song measure by measure, with what the
// windows show about it, and the one function that writes it into a chord memory.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ChordMemory.h"

namespace chordella::composer {

struct GeneratedSong {
    int MeasureUnits = 16;  // 4 per beat
    int Tempo = 120;        // the tempo the song plays at (after a variation)
    // Measure by measure, MeasureUnits / 4 records each: the song's measures, the ending
    // measure and the measure holding the end of the song (STOP).
    std::vector<std::vector<data::BeatRecord>> Measures;
    int ChordMeasures = 0;          // measures before the ending
    int SongKey = 0;                // pitch class of the song's (first section's) major key
    bool FirstSectionMinor = false;
    bool CreatorRepeatFlag = false; // inner loops allowed
    bool ProgressionMode = false;   // the chords came from the progression table
    std::vector<int> Rows;          // the progressions played, in order
    std::vector<int> Bars;          // measures each of them spans
    std::string PlayLabel = "PLAY ...";
    // The song's form for the automatic program changes: 16 (8 and 16 bar blues), 12 or 24
    // (12 bar blues, 24 when chords change every two measures), 0 for other songs.
    int FormMeasures = 0;

    // The chord view's "Progr. 3-17" and "Bars: 8-16" (empty without progressions).
    std::string ProgressionText() const;
    std::string BarsText() const;
    // The record at a chord-memory position (4 = measure 1, beat 1); an empty one outside.
    data::BeatRecord RecordAt(int position) const;
    // Position after the last record: the chord memory's length.
    int Length() const;
};

// Writes the song into the chord memory from its first beat: the memory is cleared, the
// header gets the tempo and the meter, the records follow and the length is set. Every
// record that the song does not fill stays empty. Songs too long for the memory are cut
// at the last whole measure that fits (the generator never makes one).
void WriteGeneratedSong(const GeneratedSong& song, data::ChordMemory& memory);

// A chord memory read back as measures (its meter from the header, 16 when unset), for
// keeping measures of a song already written. Only records and tempo are filled in.
GeneratedSong SongOfChordMemory(const data::ChordMemory& memory);

// The song's measures `locked` (1-based) taken over from `previous`, the rest kept from
// `song`: regenerating while keeping chosen measures. Measures outside either song, or of
// another meter, are left as they are.
void KeepMeasures(const GeneratedSong& previous, const std::vector<int>& locked, GeneratedSong& song);

}  // namespace chordella::composer
