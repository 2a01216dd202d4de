#pragma once
// A generated song as a player reads it: measure by measure its chords in numerals (from
// the song's key) and by name, and the commands of its beats as the editor names them.

#include <string>
#include <vector>

#include "composer/GeneratedSong.h"
#include "data/SongCommands.h"

namespace chordella::composer {

struct SheetMeasure {
    int Measure = 0;         // 1-based
    std::string Numerals;    // "I vi" for two chords in the measure
    std::string Names;       // "C maj A min"
    std::string Commands;    // "1:Basic 2:Loop 2x 3:Key: C maj"
};

std::vector<SheetMeasure> SongSheet(const GeneratedSong& song, const data::SectionKeyNotes& keys);

// The sheet as text, one line per measure: "  1  I        C maj      1:Basic 2:Loop 2x".
std::string SongSheetText(const GeneratedSong& song, const data::SectionKeyNotes& keys);

// The numerals of the song's chord changes joined by " - " ("I - vi - IV - V - …").
std::string SongNumerals(const GeneratedSong& song);

}  // namespace chordella::composer
