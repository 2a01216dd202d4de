#pragma once
// The chart formats side by side: a chart written in one of them, a chart text read by
// whichever reader fits it, and a song in memory replaced by the chords of a chart. Used by
// the headless commands and by the editor window. Any thread.

#include <optional>
#include <string>
#include <string_view>

#include "composer/ChordChart.h"
#include "composer/ChordMemoryEditor.h"
#include "composer/ChordProChart.h"
#include "data/ArrangementState.h"

namespace chordella::composer {

enum class ChartFormat { ChordPro, MusicXml, IReal };

// "chordpro", "musicxml", "ireal"; nothing for another name.
std::optional<ChartFormat> ChartFormatNamed(std::string_view name);
// ".cho", ".musicxml", ".ireal.txt"
std::string_view ChartExtension(ChartFormat format);

std::string WriteChart(const ChordChart& chart, ChartFormat format);

// An irealbook:// link anywhere in the text is read as iReal Pro, anything else as ChordPro.
ChartReading ReadChart(std::string_view text);

// The song's chords, meter, tempo, title and author become the chart's; its melody, other
// text and style reference are cleared (the style is the caller's to set). A chart that
// gives no measures changes nothing.
EditOutcome ReplaceSongByChart(ChordChart& chart, data::ArrangementState& song);

}  // namespace chordella::composer
