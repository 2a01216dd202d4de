#include "chords/ChordTypes.h"

namespace chordella::chords {

const std::array<ChordTypeRow, TableTypes> ChordTypeTable = {{
    {"maj", {0, 4, 7, 12}},
    {"min", {0, 3, 7, 12}},
    {"7th", {0, 4, 7, 10}},
    {"min7", {0, 3, 7, 10}},
    {"dim", {0, 3, 6, 12}},
    {"sus4", {0, 5, 7, 12}},
    {"add9", {0, 4, 7, 14}},
    {"5b", {0, 4, 6, 12}},
    {"M7", {0, 4, 7, 11}},
    {"aug", {0, 4, 8, 12}},
    {"6th", {0, 4, 7, 9}},
    {"mM7", {0, 3, 7, 11}},
    {"min6", {0, 3, 7, 9}},
    {"min9", {0, 3, 7, 14}},
    {"m5b7", {0, 3, 6, 10}},
    {"aug7", {0, 4, 8, 10}},
    {"sus7", {0, 5, 7, 10}},
}};

const std::array<std::uint8_t, 12> MajorTriadType = {1, 1, 2, 1, 2, 1, 1, 1, 1, 2, 1, 5};
const std::array<std::uint8_t, 12> MinorTriadType = {2, 2, 5, 2, 1, 2, 2, 2, 2, 1, 2, 1};
const std::array<std::uint8_t, 12> MinorTriadRootCorrection = {0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1};

std::string_view TypeName(int type) {
    return ChordTypeTable[IsTableType(type) ? static_cast<std::size_t>(type - 1) : 0].Name;
}

const std::array<std::int8_t, 4>& ChordTones(int type) {
    return ChordTypeTable[IsTableType(type) ? static_cast<std::size_t>(type - 1) : 0].Tones;
}

}  // namespace chordella::chords
