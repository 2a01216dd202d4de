// The table of common progressions: its rows' shape, section marks and numerals; the list the
// song creator shows with its shuffle and section choices and range limits; and its export.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <tuple>
#include <vector>

#include "composer/ProgressionExport.h"
#include "composer/ProgressionList.h"
#include "composer/ProgressionTable.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "support/TempFolder.h"

namespace chordella::composer {
namespace {

TEST(ProgressionTable, RowsHoldAtLeastFourKnownChordsAndAreTerminated) {
    for (int row = 0; row < ProgressionRows; ++row) {
        const auto& progression = CommonProgressions[static_cast<std::size_t>(row)];
        const int count = ChordCount(row);
        EXPECT_GE(count, 4) << row;
        EXPECT_EQ(progression.RootCodes[ProgressionSlots - 1], -1) << row;
        for (std::size_t slot = 0; slot < std::size_t{ProgressionSlots}; ++slot) {
            const int root = progression.RootCodes[slot], type = progression.Types[slot];
            if (static_cast<int>(slot) < count) {
                EXPECT_TRUE(root >= 0 && root <= 11 && type >= 0 && type <= 16) << row << ":" << slot;
            } else {
                EXPECT_EQ(root, -1) << row << ":" << slot;
            }
        }
    }
}

// Sections are marked on their first rows, the last row ends the table, and phrases hold
// four, eight, twelve or sixteen chords.
TEST(ProgressionTable, SectionsAreMarkedOnTheirFirstRowsPhrasesHoldFourToSixteenChordsAndNumeralsFollowTheirRules) {
    EXPECT_EQ(CommonProgressions[0].Name, "50's Progression --- SECTION 1");
    const std::pair<int, const char*> sections[] = {
        {43, "SECTION 2"}, {75, "8 bar BLUES"}, {84, "16 bar BLUES"}, {90, "12 bar BLUES"}, {99, "END"}};
    for (const auto& [row, suffix] : sections) EXPECT_EQ(SectionSuffix(row), suffix) << row;
    int marked = 0;
    for (int row = 0; row < ProgressionRows; ++row) marked += SectionSuffix(row).empty() ? 0 : 1;
    EXPECT_EQ(marked, 6);
    const std::pair<int, int> phrases[] = {{0, 4}, {1, 8}, {90, 12}, {58, 16}};
    for (const auto& [row, length] : phrases) EXPECT_EQ(PhraseLength(row), length) << row;
    EXPECT_EQ(ListEntryText(0), "000. 50's Progression --- SECTION 1");
    EXPECT_EQ(ListEntryText(99), "099. Blues Progression 12-10 --- END");

    const std::tuple<int, int, const char*> numerals[] = {{8, 0, "I"},       {5, 1, "vi"},      {7, 4, "VII°"},
                                                          {6, 11, "#viM7"},  {0, 12, "iii6"},   {3, 10, "V6"},
                                                          {1, 15, "IVaug7"}, {8, 16, "Isus7"},  {8, 99, "I"}};
    for (const auto& [root, type, text] : numerals) EXPECT_EQ(Numeral(root, type), text) << root << " " << type;
    // A row's numerals: the codes of a row joined in order.
    EXPECT_EQ(RowNumerals(1), "I6 - IV - VII° - iii - vi6 - ii - V6 - I");
    EXPECT_EQ(RowNumerals(18), "iv - #II - #I - I");
    EXPECT_EQ(RowNumerals(57), "vi - vii5b7 - iii - I7 - IV - #VI - III7 - vi");
    EXPECT_EQ(BaseName(99), "Blues Progression 12-10");
}

TEST(ProgressionList, TheRowsFollowTheCommandsFromEntryTen) {
    const auto entries = ProgressionListEntries();
    ASSERT_EQ(entries.size(), 110u);
    EXPECT_EQ(entries[FirstRowEntry - 1], "");
    for (const int row : {0, 43, 99}) EXPECT_EQ(entries[FirstRowEntry + row], ListEntryText(row)) << row;
}

TEST(ProgressionList, ShuffleAllNeverPicksThe816BarBluesFollowsABluesWithSection1AndSectionsSetTheirRangeAndLabel) {
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

TEST(ProgressionList, SequentialCallsWrapRandomOnesNeverRepeatAndAChosenRowServesTheWholeSong) {
    ProgressionChoice choice;
    platform::Random random(1);
    choice.ChooseEntry(ShuffleBlues12Entry);
    std::vector<int> rows;
    for (int i = 0; i < 12; ++i) rows.push_back(choice.NextRow(random, true));
    EXPECT_EQ(rows, (std::vector<int>{90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 90, 91}));

    choice.ChooseEntry(ShuffleSection1Entry);
    for (int i = 0, previous = -1; i < 500; ++i) {
        const int row = choice.NextRow(random, false);
        EXPECT_NE(row, previous);
        previous = row;
    }

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
    // The last row as the lower limit leaves a range of that row alone: no upper limit fits
    // above it, and drawn or stepped, the song takes that row.
    EXPECT_EQ(choice.SetLowerLimit("99"), "");
    EXPECT_EQ(choice.Upper(), 99);
    EXPECT_EQ(choice.SetUpperLimit("99"), "Wrong upper range limit number !");
    for (const bool sequential : {false, true, true}) EXPECT_EQ(choice.NextRow(random, sequential), 99);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(ProgressionExport, ListsEveryRowUnderItsSectionHeadingAndIsSavedAsCCPList) {
    const auto lines = Lines(ProgressionListText());
    // The heading, 100 rows and five section headings of three lines each.
    ASSERT_EQ(lines.size(), 1u + 100u + 15u);
    EXPECT_EQ(lines[0], "COMMON CHORD PROGRESSIONS");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "SECTION 1");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "\"50's Progression\",\"I - vi - IV - V\"");
    EXPECT_EQ(lines.back(), "\"Blues Progression 12-10\",\"vi7 - ii7 - vi7 - vi7 - ii7 - ii7 - vi7 - vi7 - iii7 - ii7 - vi7 - iii7\"");
    int headings = 0;
    for (const auto& line : lines) headings += line == "16 bar BLUES" || line == "12 bar BLUES" ? 1 : 0;
    EXPECT_EQ(headings, 2);

    testing::TempFolder folder;
    std::string error;
    ASSERT_TRUE(SaveProgressionList(folder.Path(), error)) << error;
    std::string text;
    ASSERT_TRUE(platform::ReadTextFile(folder.Path() + "/CCPList.csv", 1 << 20, text, error)) << error;
    EXPECT_EQ(text, ProgressionListText());
    EXPECT_FALSE(SaveProgressionList(folder.Path() + "/missing/folder", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace chordella::composer
