#include "composer/ChartFiles.h"

#include <algorithm>

#include "data/ArrangementState.h"

#include "composer/IRealChart.h"
#include "composer/MusicXmlChart.h"

namespace chordella::composer {

std::optional<ChartFormat> ChartFormatNamed(std::string_view name) {
    if (name == "chordpro") return ChartFormat::ChordPro;
    if (name == "musicxml") return ChartFormat::MusicXml;
    if (name == "ireal") return ChartFormat::IReal;
    return std::nullopt;
}

std::string_view ChartExtension(ChartFormat format) {
    switch (format) {
    case ChartFormat::ChordPro: return ".cho";
    case ChartFormat::MusicXml: return ".musicxml";
    case ChartFormat::IReal: return ".ireal.txt";
    }
    return ".txt";
}

std::string WriteChart(const ChordChart& chart, ChartFormat format) {
    switch (format) {
    case ChartFormat::ChordPro: return WriteChordPro(chart);
    case ChartFormat::MusicXml: return WriteMusicXml(chart);
    case ChartFormat::IReal: return WriteIRealLink(chart) + "\n";
    }
    return {};
}

ChartReading ReadChart(std::string_view text) {
    const bool iReal = text.find("irealbook://") != std::string_view::npos || text.find("irealb://") != std::string_view::npos;
    return iReal ? ReadIRealLink(text) : ReadChordPro(text);
}

EditOutcome ReplaceSongByChart(ChordChart& chart, data::ArrangementState& song) {
    const std::vector<data::BeatRecord> beats = BeatsFromChart(chart);
    data::ChordMemory fresh;
    data::ClearChordMemory(fresh);
    ChordMemoryEditor editor(fresh);
    EditOutcome created = editor.CreateMeasuresFrom(beats, chart.BeatsPerMeasure * data::BeatRecordSize);
    if (!created) return created;
    fresh.Bytes[data::SongStartMeasureOffset] = 1;
    fresh.Bytes[data::SongTempoOffset] = static_cast<std::uint8_t>(std::clamp(chart.Tempo, 25, 250));
    song.Chords = fresh;
    data::ClearMelody(song.Melody);
    song.Text = data::SongText{};
    song.Text.SongTitle = chart.Title;
    song.Text.SongAuthor = chart.Composer;
    if (!chart.Style.empty()) song.Text.SongComments = "Style in the chart: " + chart.Style;
    song.ArrangementPath.clear();
    // The chart names its style by name: the song names the style file of that name, which
    // is looked for where songs look for their styles.
    song.StyleReference = chart.Style.empty() ? std::string() : chart.Style + ".vxs";
    song.HasStyleReference = !chart.Style.empty();
    song.CreatorRepeatFlag = 0;
    song.ChordMemoryPos = data::ChordMemoryHeaderSize;
    song.StartMeasure = 1;
    song.EndMeasure = std::max(1, data::MeasureCount(song.Chords.ChordMemoryLength, chart.BeatsPerMeasure * 4));
    return created;
}

}  // namespace chordella::composer
