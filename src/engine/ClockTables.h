#pragma once
// The two choices that shape the time base: "Quantize" (the chord grid) and "Metrum"
// (the meter), as constant tables.

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/ClockState.h"

namespace chordella::engine {

struct QuantizeEntry {
    std::string_view Caption;
    std::int16_t GridBeats;
    std::int16_t TicksPerBeat;
    std::int16_t MidBeatTick;
    std::int16_t EarlyChordTicks;
    std::int16_t PreviewTick;
    std::int16_t RecordGraceTicks;
    engine::MeterKind MeterKind;
};

struct MetrumEntry {
    std::string_view Caption;
    std::int16_t MeasureUnits;
    std::int16_t MetronomeGroup;
};

// "1/4" "2/4" "3/4" "4/4" "6/4" "1/8" "2/8" "3/8" "4/8" "6/8": the eighth half lies five
// places after the matching quarter entry.
extern const std::array<QuantizeEntry, 10> QuantizeTable;
constexpr int QuantizeEighthOffset = 5;
// "6/4" "5/4" "4/4" "3/4" "2/4" "1/4" "6/8" "2/8" "1/8".
extern const std::array<MetrumEntry, 9> MetrumTable;
constexpr int MetrumOneEighth = 8;
constexpr int QuantizeOneEighth = 5;

// Any thread. The index of a caption in a table, or −1.
int QuantizeIndexOf(std::string_view caption);
int MetrumIndexOf(std::string_view caption);

// Any thread. The "Metrum" entry a style or song's measure length selects: the first entry
// with that many units; for 4 units "1/8" on an eighth grid, else "1/4". −1 when no entry
// has that length.
int MetrumIndexForUnits(int measureUnits, engine::MeterKind kind);

// Any thread. A negative start-measure value follows a change of the grid kind: doubled
// from quarter to eighth, halved (toward zero) from eighth to quarter. Other values stay.
int RescaleStartMeasure(int value, engine::MeterKind from, engine::MeterKind to);

}  // namespace chordella::engine
