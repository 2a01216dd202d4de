#include "chords/ComputerKeys.h"

#include <cstddef>

namespace chordella::chords {

namespace {

struct KeyEntry {
    int Code;
    int Value;
    KeyZoneKind Zone;
};

constexpr KeyZoneKind Z0 = KeyZoneKind::ChordOrMelody;
constexpr KeyZoneKind Z1 = KeyZoneKind::MelodyUp;
constexpr KeyZoneKind Z2 = KeyZoneKind::MelodyUpToo;
constexpr KeyZoneKind Z3 = KeyZoneKind::SplitMelody;
constexpr KeyZoneKind Z10 = KeyZoneKind::Never;

// Digits choose slots (1 … 9 → 2 … 10, 0 → 11), Shift "min" and Ctrl "7th"; the letter
// rows are a little keyboard; backspace and the bracket keys belong to no chord or type.
constexpr KeyEntry Entries[] = {
    {'1', 2, Z0},   {'2', 3, Z0},   {'3', 4, Z0},   {'4', 5, Z0},   {'5', 6, Z0},   {'6', 7, Z0},
    {'7', 8, Z0},   {'8', 9, Z0},   {'9', 10, Z0},  {'0', 11, Z0},  {0x10, 18, Z0}, {0x11, 19, Z0},
    {'Q', 41, Z1},  {'W', 43, Z1},  {'E', 45, Z1},  {'R', 47, Z2},  {'T', 48, Z1},
    {'Y', 45, Z0},  {'U', 52, Z1},  {'I', 53, Z1},  {'O', 55, Z1},  {'P', 57, Z1},
    {'A', 44, Z0},  {'S', 46, Z0},  {'D', 46, Z1},  {'F', 49, Z0},  {'G', 51, Z0},
    {'H', 51, Z1},  {'J', 54, Z0},  {'K', 56, Z0},  {'L', 58, Z0},
    {'Z', 50, Z1},  {'X', 47, Z3},  {'C', 48, Z0},  {'V', 50, Z0},  {'B', 52, Z0},
    {'N', 53, Z0},  {'M', 55, Z0},
    {0xBA, 59, Z2}, {0xBB, 60, Z1}, {0xBC, 57, Z0}, {0xBD, 60, Z0},
    {0xBE, 59, Z3}, {0xBF, 63, Z0}, {0xC0, 58, Z1}, {0xDE, 61, Z0},
    {0xE2, 43, Z0},
    {0x08, 0, Z10}, {0xDB, 0, Z10}, {0xDC, 0, Z10}, {0xDD, 0, Z10},
};

ComputerKeyTables BuildTables() {
    ComputerKeyTables tables;
    tables.Zone.fill(KeyZoneKind::ChordOrMelody);
    for (const KeyEntry& entry : Entries) {
        const auto code = static_cast<std::size_t>(entry.Code);
        tables.Value[code] = static_cast<std::uint8_t>(entry.Value);
        tables.Zone[code] = entry.Zone;
    }
    return tables;
}

struct CodeMove {
    int From;
    int To;
};

// Each layout's codes that lie elsewhere than on the German keyboard, moved to the German
// code of the same key: the top-left key, the two keys right of 0, the two right of P, the
// three right of L, the one left of Z (or Y), and the three (AZERTY: four) right of M.
constexpr CodeMove UsMoves[] = {
    {'Y', 'Z'},   {'Z', 'Y'},   {0xBA, 0xC0}, {0xBB, 0xDD}, {0xBD, 0xDB},
    {0xBF, 0xBD}, {0xC0, 0xDC}, {0xDB, 0xBA}, {0xDC, 0xBF}, {0xDD, 0xBB},
};
constexpr CodeMove FrenchMoves[] = {
    {'A', 'Q'},   {'Z', 'W'},   {'Q', 'A'},   {'W', 'Y'},   {'Y', 'Z'},   {'M', 0xC0},  {0xDE, 0xDC},
    {0xBB, 0xDD}, {0xDD, 0xBA}, {0xBA, 0xBB}, {0xC0, 0xDE}, {0xDC, 0xBF}, {0xBC, 'M'},  {0xBE, 0xBC},
    {0xBF, 0xBE}, {0xDF, 0xBD},
};
constexpr CodeMove UkMoves[] = {
    {'Y', 'Z'},   {'Z', 'Y'},   {0xDF, 0xDC}, {0xBD, 0xDB}, {0xBB, 0xDD}, {0xDB, 0xBA},
    {0xDD, 0xBB}, {0xBA, 0xC0}, {0xC0, 0xDE}, {0xDE, 0xBF}, {0xDC, 0xE2}, {0xBF, 0xBD},
};

template <std::size_t N>
int Moved(const CodeMove (&moves)[N], int code) {
    for (const CodeMove& move : moves)
        if (move.From == code) return move.To;
    return code;
}

}  // namespace

const ComputerKeyTables& KeyTables() {
    static const ComputerKeyTables tables = BuildTables();
    return tables;
}

int KeyLayoutMap(int virtualKey, int layout) {
    switch (layout) {
        case SwappedLayout:
            return Moved(UsMoves, virtualKey);
        case FrenchLayout:
            return Moved(FrenchMoves, virtualKey);
        case UkLayout:
            return Moved(UkMoves, virtualKey);
        default:
            return virtualKey;
    }
}

int LayoutIndexForSystem(std::string_view xkbLayout) {
    // Layouts with Z beside T and Y beside X.
    constexpr std::array<std::string_view, 11> Qwertz{"de", "at", "ch", "li", "lu", "cz", "sk", "hu", "si", "hr", "ba"};
    constexpr std::array<std::string_view, 3> Azerty{"fr", "be", "mc"};
    constexpr std::array<std::string_view, 4> British{"gb", "uk", "ie", "im"};
    for (const std::string_view name : Qwertz)
        if (xkbLayout == name) return GermanLayout;
    for (const std::string_view name : Azerty)
        if (xkbLayout == name) return FrenchLayout;
    for (const std::string_view name : British)
        if (xkbLayout == name) return UkLayout;
    return SwappedLayout;
}

}  // namespace chordella::chords
