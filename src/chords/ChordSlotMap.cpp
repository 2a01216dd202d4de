#include "chords/ChordSlotMap.h"

#include <cstdio>

#include "chords/ChordTypes.h"

namespace chordella::chords {

int ChordSlotMap::TypeOf(int slot) const {
    if (slot < 0 || slot >= Slots) return 0;
    return Types[static_cast<std::size_t>(slot)];
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void ReadChordTypes(ChordSlotMap& map, std::string_view text) {
    for (int slot = ChordSlotMap::FirstAssignable; slot <= ChordSlotMap::LastAssignable; ++slot) {
        const std::size_t at = static_cast<std::size_t>(slot - ChordSlotMap::FirstAssignable) * 2;
        if (at + 2 > text.size()) return;
        const char high = text[at], low = text[at + 1];
        if (!IsDigit(high) || !IsDigit(low)) continue;
        const int type = (high - '0') * 10 + (low - '0');
        if (IsTableType(type)) map.Types[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(type);
    }
}

std::string ChordTypesText(const ChordSlotMap& map) {
    std::string text;
    for (int slot = ChordSlotMap::FirstAssignable; slot <= ChordSlotMap::LastAssignable; ++slot) {
        char group[8];
        std::snprintf(group, sizeof group, "%-2.2d", map.TypeOf(slot) % 100);
        text += group;
    }
    return text;
}

std::string SlotCaption(const ChordSlotMap& map, int slot) {
    const int digit = slot == ChordSlotMap::LastAssignable ? 0 : slot - 1;
    char line[32];
    std::snprintf(line, sizeof line, "%d = %s", digit, std::string(TypeName(map.TypeOf(slot))).c_str());
    return line;
}

}  // namespace chordella::chords
