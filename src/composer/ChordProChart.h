#pragma once
// ChordPro charts: the song's chords as a grid ({start_of_grid} … {end_of_grid}) with one
// cell per beat, a chord where one starts and "." where the chord goes on, bar lines
// between measures, "|:" and ":|" around repeats (":| x3" for three times), and the
// directives {title}, {composer}, {key}, {time}, {tempo}. Any thread.

#include <string>
#include <string_view>

#include "composer/ChordChart.h"

namespace chordella::composer {

std::string WriteChordPro(const ChordChart& chart);

struct ChartReading {
    bool Ok = false;
    std::string Error;  // why nothing could be read
    ChordChart Chart;   // its Warnings name what was taken over only approximately
};

// Reads the first grid of a ChordPro text with its directives. Cells: chords, "." "/" "-"
// (the chord goes on), "%" (the measure before again); bar lines |, ||, |., |:, :|, :|:.
// The meter comes from {time}, else from the cells of the first measure.
ChartReading ReadChordPro(std::string_view text);

}  // namespace chordella::composer
