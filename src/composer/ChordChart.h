#pragma once
// A song's chords as a chart: measures of beats, a chord starting on some beats, repeats,
// title, composer, style, tempo, meter and key. The chart formats (ChordPro, MusicXML,
// iReal Pro) are written from it and read into it; a song's chord memory becomes a chart
// and a chart becomes a new song through the editor's CreateMeasuresFrom. Any thread.

#include <optional>
#include <string>
#include <vector>

#include "data/ArrangementState.h"
#include "data/ChordMemory.h"

namespace chordella::composer {

struct ChartChord {
    int Root = 0;  // pitch class, C = 0
    int Type = 1;  // 1 … 17
    bool operator==(const ChartChord&) const = default;
};

struct ChartMeasure {
    std::vector<std::optional<ChartChord>> Beats;  // a chord starts on the beat, or nothing changes
    int RepeatTimes = 0;     // > 0: a repeat starts here and is played this many times
    bool RepeatEnd = false;  // the repeat ends with this measure
};

// A command of the song on a beat that the chart's grid cannot show: a section key, a key
// mark, a program change, a tempo … (loop marks are the grid's repeats; the song's own
// transpositions are already in its chords).
struct ChartCommand {
    int Measure = 1;  // 1-based
    int Beat = 1;     // 1-based
    int Code = 0;
    int Param = 0;
    bool operator==(const ChartCommand&) const = default;
};

struct ChordChart {
    std::string Title;
    std::string Composer;
    std::string Style;
    int Tempo = 120;
    int BeatsPerMeasure = 4;
    int KeyRoot = 0;  // pitch class
    bool KeyMinor = false;
    std::vector<ChartMeasure> Measures;
    std::vector<ChartCommand> Commands;  // in song order
    // What a reader could not take over as it was (one line each).
    std::vector<std::string> Warnings;

    // Chord roots are spelled as the key's signature spells them.
    bool Sharps() const;
    // "C", "F#m", "Bb": the key as charts name it.
    std::string KeyText() const;
};

// Transpositions for the charts of transposing instruments (written a tone or a major
// sixth above the sounding pitch).
inline constexpr int TransposeForBb = 2;
inline constexpr int TransposeForEb = 9;

// The chart of a song: its measures up to the STOP, every chord transposed by the song's
// own transposition commands and by `transpose` semitones, loop marks as repeats, the key
// from the first key mark (or the first chord), the tempo from the header.
ChordChart ChartFromSong(const data::ChordMemory& memory, const data::SongText& text, const std::string& style,
                         int measureUnits, int transpose = 0);

// The beat records of a new song: roots in the octave above C3 (48), loop marks where the
// repeats are (unbalanced ones get a warning in `chart.Warnings`), the chart's commands on
// their beats, and — when no command is a key mark — the key as a key mark on the first beat.
std::vector<data::BeatRecord> BeatsFromChart(ChordChart& chart);

// Whether a command of the song travels with a chart as a ChartCommand.
bool TravelsAsChartCommand(int code, int param);

// The most measures of this meter a song can hold.
int MaxSongMeasures(int measureUnits);

}  // namespace chordella::composer
