// The chart readers take whatever a ChordPro file or an iReal Pro link holds. The first byte
// chooses the reader. Whatever they accept must become a song that stays inside the chord
// memory, and must read back with the same chords after it is written again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "composer/ChordChart.h"
#include "composer/ChordMemoryEditor.h"
#include "composer/ChordProChart.h"
#include "composer/IRealChart.h"

namespace {

bool SameChords(const chordella::composer::ChordChart& a, const chordella::composer::ChordChart& b) {
    if (a.Measures.size() != b.Measures.size()) return false;
    for (std::size_t index = 0; index < a.Measures.size(); ++index)
        if (a.Measures[index].Beats != b.Measures[index].Beats) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella;
    if (size == 0) return 0;
    const bool iReal = data[0] & 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    composer::ChartReading reading = iReal ? composer::ReadIRealLink(text) : composer::ReadChordPro(text);
    if (!reading.Ok) {
        if (reading.Error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    const composer::ChordChart read = reading.Chart;
    const composer::ChartReading again =
        iReal ? composer::ReadIRealLink(composer::WriteIRealLink(read)) : composer::ReadChordPro(composer::WriteChordPro(read));
    if (!again.Ok || !SameChords(read, again.Chart)) std::abort();

    static data::ChordMemory memory;
    data::ClearChordMemory(memory);
    composer::ChordMemoryEditor editor(memory);
    const auto beats = composer::BeatsFromChart(reading.Chart);
    if (!editor.CreateMeasuresFrom(beats, reading.Chart.BeatsPerMeasure * 4)) std::abort();
    if (memory.ChordMemoryLength > data::ChordMemoryPositionLimit || composer::StopPosition(memory) == 0) std::abort();
    return 0;
}
