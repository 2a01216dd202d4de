#pragma once
// Chord memories written as text for the editor tests: one token per beat, "|" between
// measures for the reader's eye. A token is a chord symbol ("C", "G7", "Am"), "." (empty),
// "STOP", "L2" (loop start, twice), "LE" (loop end), or a chord and a command joined by "+"
// ("F+L2"). The memory's length is the number of beats written.

#include <sstream>
#include <string>

#include "composer/ChordSymbols.h"
#include "data/ChordMemory.h"

namespace chordella::composer::test {

inline data::BeatRecord TokenRecord(const std::string& token) {
    data::BeatRecord record;
    std::string rest = token;
    const std::size_t plus = token.find('+');
    std::string command = plus == std::string::npos ? "" : token.substr(plus + 1);
    if (plus != std::string::npos) rest = token.substr(0, plus);
    if (rest == "STOP" || rest == "LE" || (rest.size() == 2 && rest[0] == 'L')) command = rest, rest.clear();
    if (!rest.empty() && rest != ".") {
        const SymbolReading chord = ReadChordSymbol(rest);
        record.ChordRoot = static_cast<std::uint8_t>(48 + chord.Root);
        record.ChordType = static_cast<std::uint8_t>(chord.Type);
    }
    if (command == "STOP") record.CommandCode = data::CommandStop;
    else if (command == "LE") record.CommandCode = data::CommandLoop;
    else if (!command.empty()) record.CommandCode = data::CommandLoop, record.CommandParam = static_cast<std::uint8_t>(100 + (command[1] - '0'));
    return record;
}

inline data::ChordMemory Song(const std::string& notation, int measureUnits = 16) {
    data::ChordMemory memory;
    memory.Bytes[data::SongMeterOffset] = static_cast<std::uint8_t>(measureUnits);
    std::istringstream tokens(notation);
    int position = data::ChordMemoryHeaderSize;
    for (std::string token; tokens >> token;) {
        if (token == "|") continue;
        memory.SetRecord(position, TokenRecord(token));
        position += data::BeatRecordSize;
    }
    memory.ChordMemoryLength = static_cast<std::int16_t>(position);
    return memory;
}

inline std::string Notation(const data::ChordMemory& memory, int measureUnits = 16) {
    std::string text;
    const int beats = measureUnits / 4;
    for (int position = data::ChordMemoryHeaderSize, beat = 0; position < memory.ChordMemoryLength;
         position += data::BeatRecordSize, ++beat) {
        if (beat > 0) text += beat % beats == 0 ? " | " : " ";
        const data::BeatRecord record = memory.RecordAt(position);
        std::string token;
        if (record.ChordType != 0) token = ChordSymbol(record.ChordRoot % 12, record.ChordType, false);
        std::string command;
        if (record.CommandCode == data::CommandStop) command = "STOP";
        else if (record.CommandCode == data::CommandLoop)
            command = record.CommandParam > 100 ? "L" + std::to_string(record.CommandParam - 100) : "LE";
        if (!command.empty()) token += (token.empty() ? "" : "+") + command;
        text += token.empty() ? "." : token;
    }
    return text;
}

}  // namespace chordella::composer::test
