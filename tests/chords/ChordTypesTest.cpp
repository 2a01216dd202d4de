// The chord-type table's edges and the slot map with its configuration string.
#include "chords/ChordTypes.h"

#include <gtest/gtest.h>

#include "chords/ChordSlotMap.h"

namespace chordella::chords {
namespace {

TEST(ChordTypes, TypesOutsideTheTableAreNamedAndVoicedAsMajor) {
    for (const int type : {0, -1, 18, 34, 35, 32767, -32768}) {
        EXPECT_EQ(TypeName(type), "maj") << type;
        EXPECT_EQ(ChordTones(type), ChordTones(1)) << type;
    }
    EXPECT_EQ(TypeName(17), "sus7");
}

TEST(ChordSlotMap, WritesAndReadsBackTheChordTypesSetting) {
    ChordSlotMap map;
    EXPECT_EQ(ChordTypesText(map), "02030405060708091011");
    map.Types[2] = 17;
    map.Types[11] = 12;
    const auto text = ChordTypesText(map);
    EXPECT_EQ(text, "17030405060708091012");
    ChordSlotMap read;
    ReadChordTypes(read, text);
    EXPECT_EQ(read.Types, map.Types);
}

TEST(ChordSlotMap, ADamagedSettingChangesOnlyTheSlotsItSpellsCorrectly) {
    ChordSlotMap map;
    ReadChordTypes(map, "0x99001504");  // slots 2 … 6: no digits, beyond the table, no type, 15, 4; the rest missing
    EXPECT_EQ(map.TypeOf(2), 2);
    EXPECT_EQ(map.TypeOf(3), 3);
    EXPECT_EQ(map.TypeOf(4), 4);
    EXPECT_EQ(map.TypeOf(5), 15);
    EXPECT_EQ(map.TypeOf(6), 4);
    EXPECT_EQ(map.TypeOf(7), 7);
    ReadChordTypes(map, "");
    EXPECT_EQ(map.TypeOf(5), 15);
}

}  // namespace
}  // namespace chordella::chords
