#include "composer/EditorGrid.h"

#include <algorithm>
#include <cstdio>

#include "chords/ChordTypes.h"
#include "chords/NoteNames.h"

namespace chordella::composer {

namespace {

int BeatsOf(int measureUnits) { return std::max(1, measureUnits / data::BeatRecordSize); }

}  // namespace

std::string ChordText(const data::BeatRecord& record, bool sharpSpelling) {
    if (record.ChordType == 0 || record.ChordType >= 128) return {};
    const auto& names = chords::NoteNamesFor(sharpSpelling);
    std::string text(names[static_cast<std::size_t>(record.ChordRoot % 12)]);
    text += ' ';
    text += chords::TypeName(data::DisplayChordType(record));
    return text;
}

std::string CellText(const data::BeatRecord& record, const GridContext& context) {
    const std::string command = data::CommandText(record, context.Commands);
    std::string chord = ChordText(record, context.SharpSpelling);
    if (!chord.empty()) chord += command.empty() ? " " : ", ";
    const std::string cell = chord + command;
    return cell.empty() ? EmptyCellText : cell;
}

int GridPosition(int measure, int beat, int measureUnits) { return data::PositionOf(measure, beat, measureUnits); }

std::vector<std::string> BeatHeaders(int measureUnits) {
    std::vector<std::string> headers;
    for (int beat = 1; beat <= BeatsOf(measureUnits); ++beat) headers.push_back(std::to_string(beat) + "/4");
    return headers;
}

std::vector<GridRow> BuildGrid(const data::ChordMemory& memory, const GridContext& context) {
    std::vector<GridRow> rows;
    const int beats = BeatsOf(context.MeasureUnits);
    const int units = beats * data::BeatRecordSize;
    for (int start = data::ChordMemoryHeaderSize; start < memory.ChordMemoryLength; start += units) {
        GridRow row;
        row.Measure = static_cast<int>(rows.size()) + 1;
        char label[16];
        std::snprintf(label, sizeof label, "%03d", row.Measure);
        row.Label = label;
        for (int beat = 0; beat < beats; ++beat) {
            const data::BeatRecord record = memory.RecordAt(start + beat * data::BeatRecordSize);
            row.Cells.push_back(CellText(record, context));
            row.Records.push_back(record);
            row.HoldsStop = row.HoldsStop || record.CommandCode == data::CommandStop;
        }
        rows.push_back(std::move(row));
        if (rows.back().HoldsStop) break;
    }
    return rows;
}

std::string GridText(const data::ChordMemory& memory, const GridContext& context) {
    std::string text;
    for (const GridRow& row : BuildGrid(memory, context)) {
        text += row.Label;
        for (const std::string& cell : row.Cells) {
            char field[32];
            std::snprintf(field, sizeof field, " | %-14.14s", cell.c_str());
            text += field;
        }
        text += " |\n";
    }
    return text;
}

}  // namespace chordella::composer
