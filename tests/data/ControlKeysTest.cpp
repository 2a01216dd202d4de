#include "data/ControlKeys.h"

#include <gtest/gtest.h>

#include <array>

namespace chordella::data {
namespace {

// Every derived key, in the order FillIn, Ending, ToExtended, ToBasic, Intro, PadOn, PadOff,
// Extended, Basic, FirstChordKey, LastChordKey.
std::array<int, 11> AllKeys(const ControlKeys& k) {
    return {k.FillIn, k.Ending,   k.ToExtended, k.ToBasic,       k.Intro,       k.PadOn,
            k.PadOff, k.Extended, k.Basic,      k.FirstChordKey, k.LastChordKey};
}

TEST(ControlKeys, TheFiveDerivedKeysLieBelowTheLowestSectionKeyThatIsAMidiNote) {
    struct Case {
        const char* label;
        KeyNoteAndOctave fillIn, ending, toExtended, toBasic;
        std::array<int, 11> expected;
    };
    const Case cases[] = {
        // Fill in C3, Ending D3, To Ext. C#3, To Basic D#3: the lowest is the Fill in key, 36.
        {"octave 3", {0, 3}, {2, 3}, {1, 3}, {3, 3}, {36, 38, 37, 39, 35, 34, 33, 32, 31, 40, 59}},
        // Keys below note 0 are no keys.
        {"octave 0", {2, 0}, {5, 0}, {6, 0}, {7, 0}, {2, 5, 6, 7, 1, 0, -1, -1, -1, 40, 59}},
        // A damaged Fill in key does not drag the others down: below To Ext., the lowest that exists.
        {"damaged fill in", {0, -5}, {2, 3}, {1, 3}, {3, 3}, {-1, 38, 37, 39, 36, 35, 34, 33, 32, 40, 59}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ControlKeySettings settings;
        settings.FillIn = c.fillIn;
        settings.Ending = c.ending;
        settings.ToExtended = c.toExtended;
        settings.ToBasic = c.toBasic;
        settings.FirstChordKey = {4, 3};
        settings.LastChordKey = {11, 4};
        EXPECT_EQ(AllKeys(DeriveControlKeys(settings)), c.expected);
    }
    EXPECT_EQ(KeyNote({8, 10}), -1);
    EXPECT_EQ(KeyNote({0, -1}), -1);
    EXPECT_EQ(KeyNote({11, 2000000000}), -1);  // no overflow on a damaged value
}

}  // namespace
}  // namespace chordella::data
