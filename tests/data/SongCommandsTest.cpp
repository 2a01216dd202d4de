// The editor's texts for the song commands.
#include <gtest/gtest.h>

#include "data/SongCommands.h"

namespace chordella::data {
namespace {

std::string Text(int code, int param, const CommandTextContext& context = {}) {
    return CommandText({0, 0, static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(param)}, context);
}

TEST(SongCommandTexts, SectionKeysAreNamedByTheirCurrentAssignment) {
    CommandTextContext context;  // Fill In 36, To Ext. 37, Ending 38, To Basic 39
    EXPECT_EQ(Text(36, 12, context), "Fill In");
    EXPECT_EQ(Text(39, 12, context), "To Basic");
    EXPECT_EQ(Text(38, 12, context), "Ending");
    EXPECT_EQ(Text(37, 12, context), "To Ext.");
    EXPECT_EQ(Text(35, 12, context), "Intro");
    EXPECT_EQ(Text(34, 12, context), "PAD on");
    EXPECT_EQ(Text(33, 12, context), "PAD off");
    EXPECT_EQ(Text(32, 12, context), "Ext.");
    EXPECT_EQ(Text(31, 12, context), "Basic");
    EXPECT_EQ(Text(50, 12, context), "") << "a key no function has";

    context.SectionKeys = SectionKeyNotes::From(60, 62, 61, 63);
    EXPECT_EQ(Text(61, 12, context), "Ending");
    EXPECT_EQ(Text(59, 12, context), "Intro");
    EXPECT_EQ(Text(55, 12, context), "Basic");
}

TEST(SongCommandTexts, KeySignaturesFollowTheSongTranspositionAndTheKeysSpelling) {
    CommandTextContext context;
    EXPECT_EQ(Text(0, 13, context), "Key: C maj");
    EXPECT_EQ(Text(3, 13, context), "Key: Eb maj");
    EXPECT_EQ(Text(6, 13, context), "Key: F# maj");
    EXPECT_EQ(Text(1, 14, context), "Key: C# min");
    EXPECT_EQ(Text(10, 14, context), "Key: Bb min");
    context.SongTranspose = -2;
    EXPECT_EQ(Text(0, 13, context), "Key: Bb maj");
    EXPECT_EQ(Text(24, 13, context), "Key: Bb maj") << "codes above 11 are pitch classes too";
    context.SongTranspose = 0;
    context.SuppressSignChange = true;
    context.SharpSpelling = true;
    EXPECT_EQ(Text(3, 13, context), "Key: D# maj");
}

TEST(SongCommandTexts, ChannelCommandsNameTheirChannel) {
    EXPECT_EQ(Text(251, 0), "Play All");
    EXPECT_EQ(Text(251, 10), "Solo C.10");
    EXPECT_EQ(Text(251, 220), "Mute M.");
    EXPECT_EQ(Text(251, 221), "Play M.");
    EXPECT_EQ(Text(251, 222), "Mute C.16");
    EXPECT_EQ(Text(251, 237), "Mute C.1");
    EXPECT_EQ(Text(251, 239), "Play C.16");
    EXPECT_EQ(Text(251, 254), "Play C.1");
    EXPECT_EQ(Text(251, 255), "Mute All");
    EXPECT_EQ(Text(251, 100), "");
}

TEST(SongCommandTexts, TranspositionsLoopsTempoAndStop) {
    EXPECT_EQ(Text(252, 0), "0 Up/Down");
    EXPECT_EQ(Text(252, 3), "3 Up");
    EXPECT_EQ(Text(252, 254), "2 Down");
    EXPECT_EQ(Text(252, 245), "11 Down");
    EXPECT_EQ(Text(253, 0), "LoopEnd");
    EXPECT_EQ(Text(253, 103), "Loop 3x");
    EXPECT_EQ(Text(254, 132), "Tempo 132");
    EXPECT_EQ(Text(255, 7), "STOP");
    EXPECT_EQ(Text(222, 5), "Com.5");
    EXPECT_EQ(Text(223, 41), "Prog.41");
    EXPECT_EQ(Text(0, 0), "");
    EXPECT_EQ(Text(230, 1), "") << "an unknown code";
}

TEST(SongCommandTexts, TranspositionParamsRoundTrip) {
    for (int semitones = -11; semitones <= 24; ++semitones)
        EXPECT_EQ(TransposeSemitones(TransposeParam(semitones)), semitones);
    EXPECT_EQ(TransposeParam(-2), 254);
}

}  // namespace
}  // namespace chordella::data
