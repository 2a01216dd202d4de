// The progression list: its entries, the shuffle and section choices, the range limits.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "composer/ProgressionList.h"
#include "composer/ProgressionTable.h"
#include "platform/Random.h"

namespace chordella::composer {
namespace {

TEST(ProgressionList, CommandsComeFirstAndTheRowsFollowFromEntryTen) {
    const auto entries = ProgressionListEntries();
    ASSERT_EQ(entries.size(), 110u);
    EXPECT_EQ(entries[ShuffleAllEntry], "   - Click here to shuffle all sections");
    EXPECT_EQ(entries[ShuffleBlues12Entry], "   - Click here to shuffle 12 bar Blues");
    EXPECT_EQ(entries[UpperLimitEntry], "   - Click here to set upper range limit");
    EXPECT_EQ(entries[FirstRowEntry - 1], "");
    for (const int row : {0, 43, 99}) EXPECT_EQ(entries[FirstRowEntry + row], ListEntryText(row)) << row;
}

TEST(ProgressionList, ShuffleAllNeverPicksThe816BarBluesAndFollowsABluesWithSection1) {
    ProgressionChoice choice;
    platform::Random random(7);
    EXPECT_TRUE(choice.ChooseEntry(ShuffleAllEntry));
    std::set<int> lowers;
    bool previousBlues = false;
    for (int song = 0; song < 2000; ++song) {
        choice.StartSong(random);
        lowers.insert(choice.Lower());
        EXPECT_NE(choice.Lower(), 75);
        if (previousBlues) {
            EXPECT_EQ(choice.Lower(), 0) << "song " << song;
        }
        previousBlues = choice.Lower() == 90;
        const int row = choice.NextRow(random, false);
        EXPECT_GE(row, choice.Lower());
        EXPECT_LE(row, choice.Upper());
    }
    // Section 1, section 2 (only through a redraw landing on 43) and the 12 bar blues.
    EXPECT_EQ(lowers, (std::set<int>{0, 43, 90}));
    EXPECT_EQ(choice.PlayLabel().substr(0, 4), "PLAY");
}

TEST(ProgressionList, SectionsSetTheirRangeAndLabel) {
    ProgressionChoice choice;
    const std::tuple<int, int, int, const char*> sections[] = {
        {ShuffleSection2Entry, 43, 74, "PLAY song from section 2 ..."},
        {ShuffleBlues816Entry, 75, 89, nullptr},
        {ShuffleBlues12Entry, 90, 99, "PLAY 12 bar Blues"}};
    for (const auto& [entry, lower, upper, label] : sections) {
        SCOPED_TRACE(entry);
        choice.ChooseEntry(entry);
        EXPECT_EQ(choice.Lower(), lower);
        EXPECT_EQ(choice.Upper(), upper);
        EXPECT_EQ(choice.BluesRange(), lower >= 75);
        if (label) {
            EXPECT_EQ(choice.PlayLabel(), label);
        }
    }
}

TEST(ProgressionList, SequentialCallsStepThroughTheRangeAndWrap) {
    ProgressionChoice choice;
    platform::Random random(1);
    choice.ChooseEntry(ShuffleBlues12Entry);
    std::vector<int> rows;
    for (int i = 0; i < 12; ++i) rows.push_back(choice.NextRow(random, true));
    EXPECT_EQ(rows, (std::vector<int>{90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 90, 91}));
}

TEST(ProgressionList, RandomCallsNeverRepeatTheRowJustPlayed) {
    ProgressionChoice choice;
    platform::Random random(3);
    choice.ChooseEntry(ShuffleSection1Entry);
    int previous = -1;
    for (int i = 0; i < 500; ++i) {
        const int row = choice.NextRow(random, false);
        EXPECT_NE(row, previous);
        previous = row;
    }
}

TEST(ProgressionList, AChosenRowServesTheWholeSong) {
    ProgressionChoice choice;
    platform::Random random(3);
    EXPECT_TRUE(choice.ChooseEntry(FirstRowEntry + 17));
    EXPECT_TRUE(choice.SingleRow());
    for (int i = 0; i < 5; ++i) EXPECT_EQ(choice.NextRow(random, false), 17);
    EXPECT_FALSE(choice.ChooseEntry(HeadingEntry));
    EXPECT_FALSE(choice.ChooseEntry(1));
    EXPECT_FALSE(choice.ChooseEntry(FirstRowEntry + 100));
}

TEST(ProgressionList, RangeLimitsRefuseWrongNumbersAndKeepTheOldRange) {
    ProgressionChoice choice;
    choice.ChooseEntry(ShuffleSection1Entry);
    EXPECT_EQ(choice.SetLowerLimit("100"), "Wrong lower range limit number !");
    EXPECT_EQ(choice.SetLowerLimit("ten"), "Wrong lower range limit number !");
    EXPECT_EQ(choice.SetLowerLimit("-1"), "Wrong lower range limit number !");
    EXPECT_EQ(choice.Lower(), 0);
    EXPECT_EQ(choice.SetLowerLimit(" 20 "), "");
    EXPECT_EQ(choice.Lower(), 20);
    EXPECT_EQ(choice.SetUpperLimit("20"), "Wrong upper range limit number !");
    EXPECT_EQ(choice.SetUpperLimit("5x"), "Wrong upper range limit number !");
    EXPECT_EQ(choice.SetUpperLimit("30"), "");
    EXPECT_EQ(choice.Upper(), 30);
    platform::Random random(5);
    for (int i = 0; i < 50; ++i) {
        const int row = choice.NextRow(random, false);
        EXPECT_GE(row, 20);
        EXPECT_LE(row, 30);
    }
}

}  // namespace
}  // namespace chordella::composer
