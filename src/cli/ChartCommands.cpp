// `chordella leadsheet SONG.vxa` and the chart import of `chordella import`.
#include "cli/ChartCommands.h"

#include "cli/OutputGuard.h"
#include "cli/RenderCommands.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "composer/ChartFiles.h"
#include "composer/EditorGrid.h"
#include "composer/LeadSheet.h"
#include "data/ArrangementState.h"
#include "data/SongFile.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace chordella::cli {

namespace {

constexpr std::size_t LargestSongFile = 16 * 1024 * 1024;
constexpr std::size_t LargestChartFile = 4 * 1024 * 1024;

std::string WithoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

// The song's meter: the header's when it is one of a meter list's, else 4/4.
int SongMeasureUnits(const data::ChordMemory& memory) {
    const int meter = memory.SongMeter();
    return meter >= 4 && meter <= 48 && meter % 4 == 0 ? meter : 16;
}

bool ParseTranspose(const std::string& text, int& semitones) {
    if (text.empty()) return semitones = 0, true;
    if (text == "Bb" || text == "bb" || text == "B-flat") return semitones = composer::TransposeForBb, true;
    if (text == "Eb" || text == "eb" || text == "E-flat") return semitones = composer::TransposeForEb, true;
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), semitones);
    return error == std::errc() && end == text.data() + text.size() && semitones >= -11 && semitones <= 11;
}

bool ReadSong(const std::string& path, data::ArrangementState& song, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadFileBytes(path, LargestSongFile, bytes, error)) return false;
    const data::SongReadResult read = data::ReadSongFile(bytes);
    if (!read.Ok) {
        error = "damaged song (" + read.Error + ")";
        return false;
    }
    data::ApplySongFile(read.Content, song);
    if (song.Chords.IsEmpty()) {
        error = "Chordmemory is empty !";
        return false;
    }
    return true;
}

}  // namespace

int RunLeadSheetCommand(const LeadSheetFlags& flags, std::FILE* out, std::FILE* err) {
    int transpose = 0;
    if (!ParseTranspose(flags.transpose, transpose)) {
        std::fprintf(err, "%s: --transpose takes -11 … 11 semitones, Bb or Eb, not \"%s\"\n", flags.input.c_str(),
                     flags.transpose.c_str());
        return 2;  // a wrong flag value is a usage error
    }
    data::ArrangementState song;
    std::string error;
    if (!ReadSong(flags.input, song, error)) {
        std::fprintf(err, "%s: %s\n", flags.input.c_str(), error.c_str());
        return 1;
    }
    const int units = SongMeasureUnits(song.Chords);
    const std::string style = song.HasStyleReference ? WithoutExtension(platform::FileNamePart(song.StyleReference)) : "";
    std::string text;
    if (flags.format == "text") {
        composer::GridContext grid;
        grid.MeasureUnits = units;
        grid.Commands.SongTranspose = transpose;
        data::ChordMemory memory = song.Chords;
        if (transpose != 0) {
            for (int position = data::ChordMemoryHeaderSize; position < memory.ChordMemoryLength; position += 4) {
                data::BeatRecord record = memory.RecordAt(position);
                if (data::StartsChord(record)) record.ChordRoot = static_cast<std::uint8_t>(48 + (record.ChordRoot + transpose + 12) % 12);
                memory.SetRecord(position, record);
            }
        }
        composer::LeadSheetInput input;
        input.Meter = std::to_string(units / 4) + "/4";
        input.Tempo = song.Chords.SongTempo();
        input.StyleReference = song.StyleReference;
        text = composer::LeadSheetText(memory, grid, input, composer::LeadSheetVariant::ChordsAndCommands);
    } else {
        const composer::ChordChart chart = composer::ChartFromSong(song.Chords, song.Text, style, units, transpose);
        const std::optional<composer::ChartFormat> format = composer::ChartFormatNamed(flags.format);
        if (!format) {
            std::fprintf(err, "%s: --format is text, chordpro, musicxml or ireal, not \"%s\"\n", flags.input.c_str(),
                         flags.format.c_str());
            return 1;
        }
        text = composer::WriteChart(chart, *format);
    }
    // Without -o the sheet goes to standard output, as every export does: never a file
    // the user did not ask for beside the song (a read-only folder, a repository).
    if (flags.output.empty() || flags.output == "-") {
        std::fputs(text.c_str(), out);
        return 0;
    }
    const std::string& target = flags.output;
    if (!MayWriteOutput(target, {flags.input}, OutputKind::TextFile, flags.force, error)) {
        std::fprintf(err, "%s: %s\n", target.c_str(), error.c_str());
        return 1;
    }
    if (!platform::WriteFileAtomically(target, std::string_view(text), error)) {
        std::fprintf(err, "%s: %s\n", target.c_str(), error.c_str());
        return 1;
    }
    std::fprintf(out, "%s -> %s\n", flags.input.c_str(), target.c_str());
    return 0;
}

bool IsChartFile(const std::string& path) {
    const std::string extension = app::LowerExtensionOf(path);
    for (const char* chordPro : {".cho", ".chopro", ".chordpro", ".crd", ".pro"})
        if (extension == chordPro) return true;
    if (extension != ".txt" && extension != ".html" && extension != ".htm" && extension != ".url") return false;
    std::string text;
    std::string error;
    return platform::ReadTextFile(path, LargestChartFile, text, error) &&
           (text.find("irealbook://") != std::string::npos || text.find("irealb://") != std::string::npos ||
            text.find("{start_of_grid") != std::string::npos || text.find("{sog") != std::string::npos);
}

int RunChartImportCommand(const ChartImportFlags& flags, std::FILE* out, std::FILE* err) {
    std::string text;
    std::string error;
    if (!platform::ReadTextFile(flags.input, LargestChartFile, text, error)) {
        std::fprintf(err, "%s: %s\n", flags.input.c_str(), error.c_str());
        return 1;
    }
    if (app::LowerExtensionOf(flags.output) != ".vxa") {
        std::fprintf(err, "%s: a chart is imported into a song: the output must end in .vxa\n", flags.output.c_str());
        return 1;
    }
    if (!MayWriteOutput(flags.output, {flags.input}, OutputKind::SongFile, flags.force, error)) {
        std::fprintf(err, "%s: %s\n", flags.output.c_str(), error.c_str());
        return 1;
    }
    composer::ChartReading reading = composer::ReadChart(text);
    if (!reading.Ok) {
        std::fprintf(err, "%s: %s\n", flags.input.c_str(), reading.Error.c_str());
        return 1;
    }
    composer::ChordChart& chart = reading.Chart;
    data::ArrangementState song;
    const composer::EditOutcome created = composer::ReplaceSongByChart(chart, song);
    if (!created) {
        std::fprintf(err, "%s: %s\n", flags.input.c_str(), created.Message.c_str());
        return 1;
    }
    for (const std::string& warning : chart.Warnings) std::fprintf(err, "%s: %s\n", flags.input.c_str(), warning.c_str());
    const data::SongFileContent content =
        data::SongFileContentOf(song, flags.style.empty() ? song.StyleReference : flags.style);
    const std::vector<std::uint8_t> bytes = data::WriteSongFile(content);
    if (!platform::WriteFileAtomically(flags.output, bytes, error)) {
        std::fprintf(err, "%s: %s\n", flags.output.c_str(), error.c_str());
        return 1;
    }
    std::fprintf(out, "%s: %zu measures of %d/4, %zu warnings -> %s\n", flags.input.c_str(), chart.Measures.size(),
                 chart.BeatsPerMeasure, chart.Warnings.size(), flags.output.c_str());
    return 0;
}

}  // namespace chordella::cli
