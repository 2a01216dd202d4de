// A songlist line: every column written and read back, the negative numbers of the
// three-column fields, lists of the old four-column layout, and damaged lines.

#include <gtest/gtest.h>

#include <tuple>

#include "library/SongEntry.h"

namespace chordella::library {
namespace {

SongEntry Extreme(bool high) {
    SongEntry e;
    e.Title = std::string(50, high ? 'z' : 'a');
    e.Path = high ? "C:\\Gig\\SONGS\\" + std::string(80 - 13 - 4, 'x') + ".VXA" : "a.vxa";
    for (std::size_t c = 0; c < e.Mutes.size(); ++c) e.Mutes[c] = high == (c % 2 == 0);
    e.PlayMode = high ? 9 : 0;
    e.ChordsBox = high;
    e.InstrumentsBox = !high;
    e.HarmonicPad = high;
    e.MelodyAdLib = !high;
    e.SendChordCodes = high;
    e.KeyboardSplitBox = !high;
    e.ChannelIndex = high ? 15 : 0;
    e.Octave = high ? 4 : -3;
    e.Transposition = high ? 11 : -11;
    e.InstrumentIndex = high ? 999 : 0;
    for (std::size_t b = 0; b < e.MixerBars.size(); ++b)
        e.MixerBars[b] = high ? 999 - static_cast<int>(b) : -99 + static_cast<int>(b);
    e.InstrumentSet = high ? "  1 25 33 41 49 57 65 73 81 89 97105113" : "";
    return e;
}

void ExpectSame(const SongEntry& a, const SongEntry& b) {
    const auto fields = [](const SongEntry& e) {
        return std::tie(e.Title, e.Path, e.Mutes, e.PlayMode, e.ChordsBox, e.InstrumentsBox, e.HarmonicPad, e.MelodyAdLib,
                        e.SendChordCodes, e.KeyboardSplitBox, e.ChannelIndex, e.Octave, e.Transposition,
                        e.InstrumentIndex, e.MixerBars, e.InstrumentSet);
    };
    EXPECT_EQ(fields(a), fields(b));
}

TEST(SongEntry, EveryColumnReadsBackAtItsExtremesNumbersTakeThreeColumnsTitlesAreCutTo50AndPathsMustFit80) {
    for (bool high : {false, true}) {
        SCOPED_TRACE(high ? "highest values" : "lowest values");
        const SongEntry entry = Extreme(high);
        const std::string line = FormatSongEntry(entry);
        ASSERT_GE(line.size(), 194u);
        EXPECT_EQ(line[50], ' ');
        EXPECT_EQ(line[131], ' ');
        ExpectSame(ParseSongEntry(line), entry);
        EXPECT_EQ(FormatSongEntry(ParseSongEntry(line)), line) << "a line read and written again is unchanged";
    }

    EXPECT_EQ(FormatNumberField(4), "004");
    EXPECT_EQ(FormatNumberField(0), "000");
    EXPECT_EQ(FormatNumberField(-3), "-3 ");
    EXPECT_EQ(FormatNumberField(-11), "-11");
    EXPECT_EQ(FormatNumberField(-500), "-99") << "kept within the field";
    EXPECT_EQ(FormatNumberField(1234), "999");
    for (int value = NumberFieldMin; value <= NumberFieldMax; ++value) {
        std::size_t width = 0;
        ASSERT_EQ(ParseNumberField(FormatNumberField(value) + "7", width), value);
        ASSERT_EQ(width, 3u);
    }

    SongEntry entry;
    entry.Title = std::string(60, 't');
    entry.Path = "song.vxa";
    EXPECT_EQ(ParseSongEntry(FormatSongEntry(entry)).Title, std::string(50, 't'));
    entry.Title = std::string(49, 't') + "\xC3\xA9";  // "é" across the 50th column
    EXPECT_EQ(ParseSongEntry(FormatSongEntry(entry)).Title, std::string(49, 't')) << "not half a character";
    EXPECT_TRUE(PathFits(std::string(80, 'p')));
    EXPECT_FALSE(PathFits(std::string(81, 'p')));
    entry.Path = "/songs/Live.VXA take two.vxa";
    EXPECT_EQ(SongEntryPath(FormatSongEntry(entry)), entry.Path);
}

TEST(SongEntry, ALineOfTheOldLayoutWithFourColumnNegativesReadsItsLaterColumnsInPlace) {
    SongEntry entry = Extreme(false);
    entry.MixerBars = {};
    for (auto& bar : entry.MixerBars) bar = 64;
    std::string line = FormatSongEntry(entry);
    // What "%-3.3d" made of octave −3 and transposition −11: four columns each.
    line.replace(161, 6, "-003-011");
    const SongEntry read = ParseSongEntry(line);
    EXPECT_EQ(read.Octave, -3);
    EXPECT_EQ(read.Transposition, -11);
    EXPECT_EQ(read.InstrumentIndex, 0);
    EXPECT_EQ(read.MixerBars[0], 64);
    EXPECT_EQ(read.MixerBars[7], 64);
}

TEST(SongEntry, ShortAndDamagedLinesLeaveTheirMissingSettingsEmpty) {
    const std::string full = FormatSongEntry(Extreme(true));
    const SongEntry titleOnly = ParseSongEntry("Just a title");
    EXPECT_EQ(titleOnly.Title, "Just a title");
    EXPECT_EQ(titleOnly.Path, "");
    EXPECT_FALSE(titleOnly.Mutes[0].has_value());
    EXPECT_FALSE(titleOnly.Octave.has_value());

    const SongEntry cut = ParseSongEntry(full.substr(0, 163));  // ends inside the octave field
    EXPECT_EQ(cut.ChannelIndex, 15);
    EXPECT_EQ(cut.Octave, std::nullopt) << "a cut field is not read as a different number";
    EXPECT_EQ(cut.Transposition, std::nullopt);

    std::string damaged = full;
    damaged.replace(164, 3, "1x1");
    damaged[133] = '?';
    const SongEntry read = ParseSongEntry(damaged);
    EXPECT_EQ(read.Transposition, std::nullopt);
    EXPECT_EQ(read.Mutes[1], std::nullopt);
    EXPECT_EQ(read.Mutes[0], true);
    EXPECT_EQ(read.InstrumentIndex, 999) << "the columns after a damaged field still read";
}

}  // namespace
}  // namespace chordella::library
