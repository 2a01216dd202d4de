#pragma once
// The editor's grid: one row per measure, one cell per beat, with the texts the window,
// the lead sheet and `chordella info` show. Control thread.

#include <string>
#include <vector>

#include "data/ChordMemory.h"
#include "data/SongCommands.h"

namespace chordella::composer {

struct GridContext {
    int MeasureUnits = 16;
    bool SharpSpelling = false;         // chord roots with sharps ("Flat <> Sharp")
    data::CommandTextContext Commands;  // section keys, key spelling, song transposition
};

// What an empty beat shows.
inline constexpr const char* EmptyCellText = "   ";

// The cell text of a record: chord text ("C# min7", types above 17 shown as "maj"), then
// ", " and the command text when there is one ("F maj, Loop 2x"), or "   " when empty.
std::string CellText(const data::BeatRecord& record, const GridContext& context);

// The chord part of a cell: "Eb 7th"; empty without a chord.
std::string ChordText(const data::BeatRecord& record, bool sharpSpelling);

struct GridRow {
    int Measure = 1;                  // 1-based
    std::string Label;                // "%03.3d"
    std::vector<std::string> Cells;   // one per beat
    std::vector<data::BeatRecord> Records;  // what each beat holds
    bool HoldsStop = false;           // the song's last row
};

// Rows from measure 1 until a measure holds a STOP record or the memory's end is reached.
std::vector<GridRow> BuildGrid(const data::ChordMemory& memory, const GridContext& context);

// Column headers: "1/4", "2/4", … one per beat.
std::vector<std::string> BeatHeaders(int measureUnits);

// The grid as plain text, one line per measure: "012 | C maj      | ...".
std::string GridText(const data::ChordMemory& memory, const GridContext& context);

// Position of the beat shown at (row, column), both 1-based.
int GridPosition(int measure, int beat, int measureUnits);

}  // namespace chordella::composer
