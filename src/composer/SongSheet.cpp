#include "composer/SongSheet.h"

#include <cstdio>

#include "chords/ChordTypes.h"
#include "chords/NoteNames.h"
#include "composer/ProgressionTable.h"

namespace chordella::composer {

namespace {

void Append(std::string& text, const std::string& part, const char* separator = " ") {
    if (!text.empty()) text += separator;
    text += part;
}

std::string NumeralOf(const GeneratedSong& song, const data::BeatRecord& record) {
    const int pitch = chords::PitchClass(record.ChordRoot);
    return Numeral(pitch - song.SongKey - 4, data::DisplayChordType(record) - 1);
}

std::string NameOf(const GeneratedSong& song, const data::BeatRecord& record) {
    const auto& names = chords::NoteNamesFor(chords::MajorKeySharps[static_cast<std::size_t>(song.SongKey % 12)]);
    return std::string(names[static_cast<std::size_t>(chords::PitchClass(record.ChordRoot))]) + " " +
           std::string(chords::TypeName(data::DisplayChordType(record)));
}

}  // namespace

std::vector<SheetMeasure> SongSheet(const GeneratedSong& song, const data::SectionKeyNotes& keys) {
    data::CommandTextContext context;
    context.SectionKeys = keys;
    context.SharpSpelling = chords::MajorKeySharps[static_cast<std::size_t>(song.SongKey % 12)];
    std::vector<SheetMeasure> sheet;
    for (std::size_t m = 0; m < song.Measures.size(); ++m) {
        SheetMeasure line;
        line.Measure = static_cast<int>(m) + 1;
        const auto& beats = song.Measures[m];
        for (std::size_t b = 0; b < beats.size(); ++b) {
            const data::BeatRecord& record = beats[b];
            if (data::StartsChord(record)) {
                Append(line.Numerals, NumeralOf(song, record));
                Append(line.Names, NameOf(song, record));
            }
            const std::string command = data::CommandText(record, context);
            if (!command.empty()) Append(line.Commands, std::to_string(b + 1) + ":" + command);
        }
        sheet.push_back(std::move(line));
    }
    return sheet;
}

std::string SongSheetText(const GeneratedSong& song, const data::SectionKeyNotes& keys) {
    std::string text;
    for (const SheetMeasure& line : SongSheet(song, keys)) {
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, "%4d  %-14s %-22s %s", line.Measure, line.Numerals.c_str(), line.Names.c_str(),
                      line.Commands.c_str());
        std::string row = buffer;
        while (!row.empty() && row.back() == ' ') row.pop_back();
        text += row + "\n";
    }
    return text;
}

std::string SongNumerals(const GeneratedSong& song) {
    std::string text;
    for (int m = 0; m < song.ChordMeasures && m < static_cast<int>(song.Measures.size()); ++m) {
        for (const auto& record : song.Measures[static_cast<std::size_t>(m)]) {
            if (data::StartsChord(record)) Append(text, NumeralOf(song, record), " - ");
        }
    }
    return text;
}

}  // namespace chordella::composer
