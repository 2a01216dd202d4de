#include "data/ControlKeys.h"

#include <gtest/gtest.h>

namespace chordella::data {
namespace {

ControlKeySettings Settings(KeyNoteAndOctave fillIn, KeyNoteAndOctave ending, KeyNoteAndOctave toExtended,
                            KeyNoteAndOctave toBasic) {
    ControlKeySettings settings;
    settings.FillIn = fillIn;
    settings.Ending = ending;
    settings.ToExtended = toExtended;
    settings.ToBasic = toBasic;
    settings.FirstChordKey = {4, 3};
    settings.LastChordKey = {11, 4};
    return settings;
}

TEST(ControlKeys, TheFiveDerivedKeysLieBelowTheLowestSectionKey) {
    // Fill in C3, Ending D3, To Ext. C#3, To Basic D#3: the lowest is the Fill in key, 36.
    const ControlKeys keys = DeriveControlKeys(Settings({0, 3}, {2, 3}, {1, 3}, {3, 3}));
    EXPECT_EQ(keys.FillIn, 36);
    EXPECT_EQ(keys.Ending, 38);
    EXPECT_EQ(keys.ToExtended, 37);
    EXPECT_EQ(keys.ToBasic, 39);
    EXPECT_EQ(keys.Intro, 35);
    EXPECT_EQ(keys.PadOn, 34);
    EXPECT_EQ(keys.PadOff, 33);
    EXPECT_EQ(keys.Extended, 32);
    EXPECT_EQ(keys.Basic, 31);
    EXPECT_EQ(keys.FirstChordKey, 40);
    EXPECT_EQ(keys.LastChordKey, 59);
}

TEST(ControlKeys, KeysOutsideTheMidiRangeAreNoKeysAndDoNotDragTheDerivedKeysWithThem) {
    EXPECT_EQ(KeyNote({8, 10}), -1);
    EXPECT_EQ(KeyNote({0, -1}), -1);
    EXPECT_EQ(KeyNote({11, 2000000000}), -1);  // no overflow on a damaged value

    const ControlKeys low = DeriveControlKeys(Settings({2, 0}, {5, 0}, {6, 0}, {7, 0}));
    EXPECT_EQ(low.Intro, 1);
    EXPECT_EQ(low.PadOn, 0);
    EXPECT_EQ(low.PadOff, -1);
    EXPECT_EQ(low.Extended, -1);
    EXPECT_EQ(low.Basic, -1);

    const ControlKeys damaged = DeriveControlKeys(Settings({0, -5}, {2, 3}, {1, 3}, {3, 3}));
    EXPECT_EQ(damaged.FillIn, -1);
    EXPECT_EQ(damaged.Intro, 36);  // below To Ext., the lowest key that exists
}

}  // namespace
}  // namespace chordella::data
