// The asset sources' notation: positions counted as musicians count, note and chord names,
// lengths and drum grids. A source with a slip must be refused with the text it slipped on.

#include <gtest/gtest.h>

#include "make_assets/Notation.h"

namespace chordella::tools {
namespace {

int Position(std::string_view text, int beats = 4) {
    int tick = -1;
    std::string error;
    EXPECT_TRUE(ParsePosition(text, beats, tick, error)) << error;
    return tick;
}

int Length(std::string_view text) {
    int ticks = -1;
    std::string error;
    EXPECT_TRUE(ParseLength(text, ticks, error)) << error;
    return ticks;
}

int Pitch(std::string_view text) {
    int note = -1;
    std::string error;
    EXPECT_TRUE(ParsePitch(text, note, error)) << error;
    return note;
}

TEST(NotationTest, PositionsCountMeasuresBeatsAndSubdivisionsAsMusiciansCount) {
    EXPECT_EQ(Position("1.1"), 0);
    EXPECT_EQ(Position("1.2"), 24);
    EXPECT_EQ(Position("2.3&"), (4 + 2) * 24 + 12);
    EXPECT_EQ(Position("1.1e"), 6);
    EXPECT_EQ(Position("1.4a"), 3 * 24 + 18);
    EXPECT_EQ(Position("1.2T"), 24 + 16);  // the swung eighth
    EXPECT_EQ(Position("2.1", 3), 72);     // measures of three beats
}

TEST(NotationTest, APositionOutsideTheMeasureIsRefusedNamingTheText) {
    int tick = 0;
    std::string error;
    EXPECT_FALSE(ParsePosition("1.4", 3, tick, error));
    EXPECT_NE(error.find("1.4"), std::string::npos) << error;
    EXPECT_FALSE(ParsePosition("3", 4, tick, error));
    EXPECT_FALSE(ParsePosition("0.1", 4, tick, error));
}

TEST(NotationTest, LengthsAreNoteValuesDottedJoinedOrTicks) {
    EXPECT_EQ(Length("w"), 96);
    EXPECT_EQ(Length("q."), 36);
    EXPECT_EQ(Length("h+e"), 60);
    EXPECT_EQ(Length("t"), 8);
    EXPECT_EQ(Length("30"), 30);
    int ticks = 0;
    std::string error;
    EXPECT_FALSE(ParseLength("quarter", ticks, error));
    EXPECT_FALSE(ParseLength("0", ticks, error));
}

TEST(NotationTest, NoteNamesPutMiddleCAtSixty) {
    EXPECT_EQ(Pitch("C4"), 60);
    EXPECT_EQ(Pitch("Bb1"), 34);
    EXPECT_EQ(Pitch("F#2"), 42);
    EXPECT_EQ(Pitch("G9"), 127);
    int note = 0;
    std::string error;
    EXPECT_FALSE(ParsePitch("H2", note, error));
    EXPECT_FALSE(ParsePitch("A9", note, error)) << "above the MIDI notes";
    EXPECT_FALSE(ParsePitch("C", note, error));
    std::vector<int> chord;
    ASSERT_TRUE(ParsePitches("E3+G3+C4", chord, error)) << error;
    EXPECT_EQ(chord, (std::vector<int>{52, 55, 60}));
}

TEST(NotationTest, ChordNamesGiveTheRootInOctaveThreeAndTheTypeNumber) {
    const auto chord = [](std::string_view name) {
        int root = 0, type = 0;
        std::string error;
        EXPECT_TRUE(ParseChord(name, root, type, error)) << error;
        return std::pair{root, type};
    };
    EXPECT_EQ(chord("C"), std::pair(48, 1));
    EXPECT_EQ(chord("Am"), std::pair(57, 2));
    EXPECT_EQ(chord("Bb7"), std::pair(58, 3));
    EXPECT_EQ(chord("F#m7"), std::pair(54, 4));
    EXPECT_EQ(chord("Cmaj7"), std::pair(48, 9));
    EXPECT_EQ(chord("Cb"), std::pair(59, 1));
    int root = 0, type = 0;
    std::string error;
    EXPECT_FALSE(ParseChord("Cxyz", root, type, error));
    EXPECT_NE(error.find("Cxyz"), std::string::npos);
}

TEST(NotationTest, ACommentStartsAtAHashAfterABlankButASharpStays) {
    EXPECT_EQ(WithoutComment("melody 1.1 C#5 q  # the third"), "melody 1.1 C#5 q  ");
    EXPECT_EQ(WithoutComment("# a whole line"), "");
    EXPECT_EQ(WithoutComment("bar 1 F#m"), "bar 1 F#m");
}

}  // namespace
}  // namespace chordella::tools
