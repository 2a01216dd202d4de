// The progression list: its entries, the shuffle and section choices, the range limits.
#include <gtest/gtest.h>

#include <set>

#include "composer/ProgressionList.h"
#include "platform/Random.h"

namespace chordella::composer {
namespace {

TEST(ProgressionList, CommandsComeFirstAndTheRowsFollowFromEntryTen) {
    const auto entries = ProgressionListEntries();
    ASSERT_EQ(entries.size(), 110u);
    EXPECT_EQ(entries[0], "COMMON CHORD PROGRESSIONS");
    EXPECT_EQ(entries[1], "");
    EXPECT_EQ(entries[2], "   - Click here to shuffle all sections");
    EXPECT_EQ(entries[6], "   - Click here to shuffle 12 bar Blues");
    EXPECT_EQ(entries[8], "   - Click here to set upper range limit");
    EXPECT_EQ(entries[9], "");
    EXPECT_EQ(entries[10], "000. 50's Progression --- SECTION 1");
    EXPECT_EQ(entries[53], "043. Other Progression 01 --- SECTION 2");
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
    choice.ChooseEntry(ShuffleSection2Entry);
    EXPECT_EQ(choice.Lower(), 43);
    EXPECT_EQ(choice.Upper(), 74);
    EXPECT_EQ(choice.PlayLabel(), "PLAY song from section 2 ...");
    choice.ChooseEntry(ShuffleBlues816Entry);
    EXPECT_EQ(choice.Lower(), 75);
    EXPECT_EQ(choice.Upper(), 89);
    EXPECT_TRUE(choice.BluesRange());
    choice.ChooseEntry(ShuffleBlues12Entry);
    EXPECT_EQ(choice.Lower(), 90);
    EXPECT_EQ(choice.Upper(), 99);
    EXPECT_EQ(choice.PlayLabel(), "PLAY 12 bar Blues");
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
