#include "engine/ChordShift.h"

#include <initializer_list>
#include <utility>

#include "midi/PitchClass.h"

namespace chordella::engine {

namespace {

using ShiftTable = std::array<std::array<std::int8_t, 12>, ChordTypeCount + 1>;
using Shifts = std::initializer_list<std::pair<int, int>>;  // (column, shift)

struct ChordShiftRow {
    int Type;
    Shifts A;
    Shifts B;
};

// Only the non-zero entries; every other entry is 0. Type 1 (major) shifts nothing.
const ChordShiftRow ShiftRows[] = {
    {2, {{4, -1}}, {{4, -1}, {9, 1}}},
    {3, {{7, 3}, {11, -1}}, {{11, -1}}},
    {4, {{4, -1}, {7, 3}, {11, -1}}, {{4, -1}, {9, 1}, {11, -1}}},
    {5, {{4, -1}, {7, -1}}, {{4, -1}, {7, -1}}},
    {6, {{4, 1}}, {}},
    {7, {{7, 7}, {11, 3}}, {}},
    {8, {{7, -1}}, {{7, -1}}},
    {9, {{7, 4}}, {}},
    {10, {{7, 1}}, {{7, 1}}},
    {11, {{7, 2}, {11, -2}}, {}},
    {12, {{4, -1}, {7, 4}}, {{4, -1}}},
    {13, {{4, -1}, {7, 2}, {11, -2}}, {{4, -1}}},
    {14, {{4, -1}, {7, 7}, {11, 3}}, {{4, -1}, {9, 1}}},
    {15, {{4, -1}, {7, -1}, {11, -1}}, {{4, -1}, {7, -1}, {11, -1}}},
    {16, {{7, 1}, {11, -1}}, {{7, 1}, {11, -1}}},
    {17, {{4, 1}, {7, 3}, {11, -1}}, {{11, -1}}},
    {18, {{11, -1}}, {}},
    {19, {{4, -1}, {9, -1}, {11, -1}}, {{3, 1}}},
    {20, {{11, -1}}, {{10, 2}}},
    {21, {{4, -1}, {9, -1}, {11, -1}}, {{3, 1}, {10, 2}}},
    {22, {{4, -1}, {7, -1}, {11, -1}}, {{3, 1}, {6, 1}}},
    {23, {{11, -1}}, {{5, -1}}},
    {24, {{11, -1}}, {{2, -2}}},
    {25, {{11, -1}}, {{6, 1}}},
    {26, {}, {{11, 1}}},
    {27, {{9, -1}, {11, -1}}, {{8, -1}}},
    {28, {{11, -1}}, {{9, 3}}},
    {29, {{4, -1}, {9, -1}}, {{3, 1}, {11, 1}}},
    {30, {{4, -1}, {9, -1}, {11, -1}}, {{3, 1}, {9, 3}}},
    {31, {{4, -1}, {9, -1}, {11, -1}}, {{2, -2}, {3, 1}}},
    {32, {{4, -1}, {9, -1}, {11, -1}}, {{3, 1}, {6, 1}, {10, 2}}},
    {33, {{4, -1}, {7, 1}, {11, -1}}, {{8, -1}, {10, 2}}},
    {34, {{4, -1}, {11, -1}}, {{5, -1}, {10, 2}}},
};

ShiftTable BuildTable(bool a) {
    ShiftTable table{};
    for (const ChordShiftRow& row : ShiftRows) {
        for (const auto& [column, shift] : a ? row.A : row.B) {
            table[static_cast<std::size_t>(row.Type)][static_cast<std::size_t>(column)] =
                static_cast<std::int8_t>(shift);
        }
    }
    return table;
}

std::array<std::uint8_t, 128> BuildSustained() {
    std::array<std::uint8_t, 128> flags{};
    auto mark = [&](int first, int last) {
        for (int p = first; p <= last; ++p) flags[static_cast<std::size_t>(p)] = 1;
    };
    mark(16, 23);
    mark(40, 44);
    mark(48, 95);
    mark(97, 97);
    mark(99, 99);
    mark(101, 103);
    mark(109, 111);
    return flags;
}

}  // namespace

const ShiftTable ChordShiftA = BuildTable(true);
const ShiftTable ChordShiftB = BuildTable(false);
const std::array<std::uint8_t, 128> SustainedPrograms = BuildSustained();

bool IsSustainedProgram(int program) {
    return program >= 0 && program < 128 && SustainedPrograms[static_cast<std::size_t>(program)] != 0;
}

std::uint8_t TransposeNote(int note, int root, int type, const TransposeSettings& settings) {
    if (note < 0 || note > 127) note = note < 0 ? 0 : 127;
    if (type < 1 || type > ChordTypeCount) return static_cast<std::uint8_t>(note);
    const auto& shiftA = ChordShiftA[static_cast<std::size_t>(type)];
    const auto& shiftB = ChordShiftB[static_cast<std::size_t>(type)];
    const int rootClass = midi::PitchClass(root);
    const int n1 = note + shiftA[static_cast<std::size_t>(midi::PitchClass(note))];
    int n2 = n1 + shiftB[static_cast<std::size_t>(midi::PitchClass(n1))] + rootClass + settings.OctaveShift;
    if (rootClass > settings.OctaveThreshold && (!settings.UpperNotesOnly || n2 > 66)) n2 -= 12;
    // Shifts reach at most +7 +2 +11 above or −2 −12 −12 below: octave steps bring any
    // such note back without changing its pitch class.
    while (n2 > 127) n2 -= 12;
    while (n2 < 0) n2 += 12;
    return static_cast<std::uint8_t>(n2);
}

}  // namespace chordella::engine
