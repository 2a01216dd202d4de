#pragma once
// Slots are what two-finger distances, chord-type keys, chord pads and the digit keys
// select; the slot map turns a slot into a chord type. Slots 2 … 11 (the digit keys 1 … 9
// and 0) can be given other types by the configuration string "ChordTypes".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace chordella::chords {

struct ChordSlotMap {
    static constexpr int Slots = 20;
    static constexpr int FirstAssignable = 2;
    static constexpr int LastAssignable = 11;

    // Slots 0 … 17 map to themselves, 18 to "min", 19 to "7th".
    std::array<std::uint8_t, Slots> Types = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 2, 3};

    // The type of a slot; 0 (no chord) for a slot outside 0 … 19.
    int TypeOf(int slot) const;
};

// Reads the "ChordTypes" value: ten two-digit decimal numbers for slots 2 … 11 in order.
// A group that is missing, not two digits, or not a type of the table (1 … 17) leaves its
// slot as it was, so a damaged setting can never put a type outside the table into a slot.
void ReadChordTypes(ChordSlotMap& map, std::string_view text);
// The "ChordTypes" value for the configuration: each of slots 2 … 11 as "%-2.2d".
std::string ChordTypesText(const ChordSlotMap& map);
// The configuration dialog's line for slot 2 … 11: "%d = %s", the digit key that selects
// the slot (slot s is digit s − 1, slot 11 digit 0) and the type name.
std::string SlotCaption(const ChordSlotMap& map, int slot);

}  // namespace chordella::chords
