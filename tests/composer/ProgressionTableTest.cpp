// The progression table: its rows' shape, section marks and numerals.
#include <gtest/gtest.h>

#include "composer/ProgressionTable.h"

#include <tuple>

namespace chordella::composer {
namespace {

TEST(ProgressionTable, RowsAreTerminatedAndHoldOnlyKnownRootsAndTypes) {
    for (int row = 0; row < ProgressionRows; ++row) {
        SCOPED_TRACE(row);
        const auto& progression = CommonProgressions[static_cast<std::size_t>(row)];
        EXPECT_EQ(progression.RootCodes[ProgressionSlots - 1], -1);
        const int count = ChordCount(row);
        EXPECT_GE(count, 4);
        for (int slot = 0; slot < ProgressionSlots; ++slot) {
            const auto i = static_cast<std::size_t>(slot);
            if (slot < count) {
                EXPECT_GE(progression.RootCodes[i], 0);
                EXPECT_LE(progression.RootCodes[i], 11);
                EXPECT_GE(progression.Types[i], 0);
                EXPECT_LE(progression.Types[i], 16);
            } else {
                EXPECT_EQ(progression.RootCodes[i], -1);
            }
        }
    }
}

// Sections are marked on their first rows, the last row ends the table, and phrases hold
// four, eight, twelve or sixteen chords.
TEST(ProgressionTable, SectionsAreMarkedOnTheirFirstRowsAndPhrasesHoldFourEightTwelveOrSixteenChords) {
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
}

TEST(ProgressionTable, NumeralsFollowTheCaseAndSuffixRules) {
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

}  // namespace
}  // namespace chordella::composer
