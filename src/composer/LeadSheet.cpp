#include "composer/LeadSheet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "composer/ChordMemoryEditor.h"

namespace chordella::composer {

namespace {

constexpr std::size_t MaxListedInstruments = 10;

std::string Format(const char* format, int number, const std::string& text) {
    char line[256];
    std::snprintf(line, sizeof line, format, number, text.c_str());
    return line;
}

std::string Cell(const std::string& text) {
    char field[32];
    std::snprintf(field, sizeof field, "| %-18.18s", text.c_str());
    return field;
}

}  // namespace

std::string LeadSheetText(const data::ChordMemory& memory, const GridContext& grid, const LeadSheetInput& input,
                          LeadSheetVariant variant) {
    const std::vector<GridRow> rows = BuildGrid(memory, grid);
    std::string keyPart;
    if (!rows.empty() && !rows[0].Cells.empty()) {
        const std::size_t key = rows[0].Cells[0].find("Key:");
        if (key != std::string::npos) keyPart = rows[0].Cells[0].substr(key, 20) + " - ";
    }
    std::string text = "Lead Sheet - " + keyPart + "Metrum: " + input.Meter + " - Tempo: " + std::to_string(input.Tempo) + "\n\n";
    text += variant == LeadSheetVariant::ChordsOnly ? "Measures & Beats ...\n" : "Style: " + input.StyleReference + "\n";
    const bool chordsOnly = variant == LeadSheetVariant::ChordsOnly;
    // The song's end measure + 1: every row of the grid, the STOP row included.
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const GridRow& row = rows[index];
        char label[16];
        std::snprintf(label, sizeof label, "%03d ", row.Measure);
        text += label;
        for (std::size_t beat = 0; beat < row.Cells.size(); ++beat) {
            std::string cell = row.Cells[beat];
            if (chordsOnly) {
                cell = cell.substr(0, cell.find(", "));
                if (cell == EmptyCellText) cell.clear();
                if (index + 1 == rows.size() && beat == 0) cell += " ENDING";
            }
            text += Cell(cell);
        }
        text += " |\n";
    }
    text += "\nInstruments ...\n";
    for (std::size_t index = 0; index < input.Instruments.size() && index < MaxListedInstruments; ++index)
        text += Format("%2.2d %s", static_cast<int>(index + 1), input.Instruments[index]) + "\n";
    text += "\nSet of melodyinstruments and functions ...\n";
    for (std::size_t index = 0; index < input.FunctionSet.size(); ++index)
        text += Format("%2.2d  %s", static_cast<int>(index + 1), input.FunctionSet[index]) + "\n";
    return text;
}

std::string LeadSheetFileName(const std::string& songPath) {
    std::string name = songPath.substr(songPath.find_last_of("/\\") == std::string::npos ? 0 : songPath.find_last_of("/\\") + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    // A "-T120" tempo suffix names a variant of the same song.
    const std::size_t tempo = name.rfind("-T");
    if (tempo != std::string::npos && tempo + 2 < name.size() &&
        std::all_of(name.begin() + static_cast<std::ptrdiff_t>(tempo) + 2, name.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }))
        name.erase(tempo);
    return "LeadSheet-" + (name.empty() ? std::string("Untitled") : name) + ".txt";
}

std::string ChannelValuesText(const midi::ControllerTable& table, const std::vector<std::string>& instrumentNames) {
    struct Line {
        const char* Format;
        int Index;
    };
    static constexpr Line Lines[] = {
        {"MSB        : #176 #00 %3.3s", 0},
        {"LSB        : #176 #32 %3.3s", 32},
        {"Patch      : #192 --- %3.3s", midi::ControllerTable::ProgramIndex},
        {"Volume     : #176 #07 %3.3s", 7},
        {"Panorama   : #176 #10 %3.3s", 10},
        {"Reverb     : #176 #91 %3.3s", 91},
        {"Chorus     : #176 #93 %3.3s", 93},
        {"Modulation : #176 #01 %3.3s", 1},
        {"Expression : #176 #11 %3.3s", 11},
        {"Sustain    : #176 #64 %3.3s", 64},
        {"Aftertouch : #208 --- %3.3s", midi::ControllerTable::PressureIndex},
    };
    std::string text = "Channel Values ...\n";
    for (int channel = 0; channel < midi::ControllerTable::Channels; ++channel) {
        const std::uint8_t program = table.Value(channel, midi::ControllerTable::ProgramIndex);
        if (program == midi::ControllerTable::Unknown) continue;
        char heading[96];
        if (channel == 9) {
            std::snprintf(heading, sizeof heading, "Channel 10 - Drums");
        } else {
            const std::string name = program < instrumentNames.size() ? instrumentNames[program] : std::to_string(program);
            std::snprintf(heading, sizeof heading, "Channel %2.2d - %s", channel + 1, name.c_str());
        }
        text += std::string("\n") + heading + "\n";
        for (const Line& line : Lines) {
            char row[64];
            std::snprintf(row, sizeof row, line.Format, table.ValueText(channel, line.Index).c_str());
            text += std::string(row) + "\n";
        }
    }
    return text;
}

}  // namespace chordella::composer
