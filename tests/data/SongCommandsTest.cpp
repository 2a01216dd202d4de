// The editor's texts for the song commands.
#include <gtest/gtest.h>

#include "data/SongCommands.h"

namespace chordella::data {
namespace {

std::string Text(int code, int param, const CommandTextContext& context = {}) {
    return CommandText({0, 0, static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(param)}, context);
}

TEST(SongCommandTexts, EachCommandIsNamedAsTheEditorShowsItFollowingTheKeySettingsAndTranspositionParamsRoundTrip) {
    const std::tuple<int, int, const char*> cases[] = {
        {36, 12, "Fill In"}, {39, 12, "To Basic"}, {35, 12, "Intro"}, {33, 12, "PAD off"},
        {31, 12, "Basic"}, {50, 12, ""},  // a key no function has
        {0, 13, "Key: C maj"}, {6, 13, "Key: F# maj"}, {10, 14, "Key: Bb min"},
        {251, 0, "Play All"}, {251, 10, "Solo C.10"}, {251, 220, "Mute M."}, {251, 221, "Play M."},
        {251, 237, "Mute C.1"}, {251, 239, "Play C.16"}, {251, 255, "Mute All"}, {251, 100, ""},
        {252, 0, "0 Up/Down"}, {252, 3, "3 Up"}, {252, 254, "2 Down"},
        {253, 0, "LoopEnd"}, {253, 103, "Loop 3x"}, {254, 132, "Tempo 132"}, {255, 7, "STOP"},
        {222, 5, "Com.5"}, {223, 41, "Prog.41"}, {0, 0, ""}, {230, 1, ""},  // an unknown code
    };
    for (const auto& [code, param, expected] : cases) EXPECT_EQ(Text(code, param), expected) << code << " " << param;

    CommandTextContext context;
    context.SectionKeys = SectionKeyNotes::From(60, 62, 61, 63);
    EXPECT_EQ(Text(61, 12, context), "Ending");
    EXPECT_EQ(Text(59, 12, context), "Intro");
    EXPECT_EQ(Text(55, 12, context), "Basic");
    context.SongTranspose = -2;
    EXPECT_EQ(Text(0, 13, context), "Key: Bb maj");
    EXPECT_EQ(Text(24, 13, context), "Key: Bb maj") << "codes above 11 are pitch classes too";
    context.SongTranspose = 0;
    context.SuppressSignChange = true;
    context.SharpSpelling = true;
    EXPECT_EQ(Text(3, 13, context), "Key: D# maj");
    for (int semitones = -11; semitones <= 24; ++semitones)
        EXPECT_EQ(TransposeSemitones(TransposeParam(semitones)), semitones);
    EXPECT_EQ(TransposeParam(-2), 254);
}

}  // namespace
}  // namespace chordella::data
