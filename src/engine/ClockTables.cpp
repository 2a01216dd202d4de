#include "engine/ClockTables.h"

namespace chordella::engine {

namespace {
constexpr auto Q = MeterKind::Quarter;
constexpr auto E = MeterKind::Eighth;
}  // namespace

const std::array<QuantizeEntry, 10> QuantizeTable = {{
    {"1/4", 1, 24, 13, 8, 20, 6, Q},
    {"2/4", 2, 24, 13, 8, 20, 6, Q},
    {"3/4", 3, 24, 13, 8, 20, 6, Q},
    {"4/4", 4, 24, 13, 8, 20, 6, Q},
    {"6/4", 6, 24, 13, 8, 20, 6, Q},
    {"1/8", 1, 12, 7, 6, 9, 3, E},
    {"2/8", 2, 12, 7, 6, 9, 3, E},
    {"3/8", 3, 12, 7, 6, 9, 3, E},
    {"4/8", 4, 12, 7, 6, 9, 3, E},
    {"6/8", 6, 12, 7, 6, 9, 3, E},
}};

const std::array<MetrumEntry, 9> MetrumTable = {{
    {"6/4", 24, 4},
    {"5/4", 20, 5},
    {"4/4", 16, 4},
    {"3/4", 12, 3},
    {"2/4", 8, 4},
    {"1/4", 4, 4},
    {"6/8", 12, 3},
    {"2/8", 4, 4},
    {"1/8", 4, 4},
}};

int QuantizeIndexOf(std::string_view caption) {
    for (std::size_t i = 0; i < QuantizeTable.size(); ++i) {
        if (QuantizeTable[i].Caption == caption) return static_cast<int>(i);
    }
    return -1;
}

int MetrumIndexOf(std::string_view caption) {
    for (std::size_t i = 0; i < MetrumTable.size(); ++i) {
        if (MetrumTable[i].Caption == caption) return static_cast<int>(i);
    }
    return -1;
}

int MetrumIndexForUnits(int measureUnits, MeterKind kind) {
    if (measureUnits == 4) return kind == MeterKind::Eighth ? MetrumOneEighth : MetrumIndexOf("1/4");
    for (std::size_t i = 0; i < MetrumTable.size(); ++i) {
        if (MetrumTable[i].MeasureUnits == measureUnits) return static_cast<int>(i);
    }
    return -1;
}

int RescaleStartMeasure(int value, MeterKind from, MeterKind to) {
    if (value >= 0 || from == to) return value;
    return to == MeterKind::Eighth ? value * 2 : value / 2;
}

}  // namespace chordella::engine
