#include "stylecreator/CreatorState.h"

#include <algorithm>
#include <array>

namespace chordella::stylecreator {

int GeneratorSettings::SettingsCode() const {
    return (IntervalBeats - 1) + 10 * (ChordSet - 1) + 100 * (Sensitivity - 1);
}

int GeneratorSettings::HighestChordType() const {
    static constexpr std::array<int, ChordSetCount> highest = {1, 4, 10, 17};
    return highest[static_cast<std::size_t>(std::clamp(ChordSet, 1, ChordSetCount) - 1)];
}

int GeneratorSettings::SensitivityDivisor() const {
    static constexpr std::array<int, SensitivityCount> divisors = {1, 2, 4, 500};
    return divisors[static_cast<std::size_t>(std::clamp(Sensitivity, 1, SensitivityCount) - 1)];
}

void GeneratorSettings::Clamp() {
    IntervalBeats = std::clamp(IntervalBeats, MinChordInterval, MaxChordInterval);
    ChordSet = std::clamp(ChordSet, 1, ChordSetCount);
    Sensitivity = std::clamp(Sensitivity, 1, SensitivityCount);
}

}  // namespace chordella::stylecreator
