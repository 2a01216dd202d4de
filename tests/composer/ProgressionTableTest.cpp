// The progression table: its rows' shape, section marks and numerals.
#include <gtest/gtest.h>

#include "composer/ProgressionTable.h"

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

TEST(ProgressionTable, SectionsAreMarkedOnTheirFirstRowsAndTheLastRowEndsTheTable) {
    EXPECT_EQ(CommonProgressions[0].Name, "50's Progression --- SECTION 1");
    EXPECT_EQ(SectionSuffix(43), "SECTION 2");
    EXPECT_EQ(SectionSuffix(75), "8 bar BLUES");
    EXPECT_EQ(SectionSuffix(84), "16 bar BLUES");
    EXPECT_EQ(SectionSuffix(90), "12 bar BLUES");
    EXPECT_EQ(SectionSuffix(99), "END");
    int marked = 0;
    for (int row = 0; row < ProgressionRows; ++row) marked += SectionSuffix(row).empty() ? 0 : 1;
    EXPECT_EQ(marked, 6);
}

TEST(ProgressionTable, NumeralsFollowTheCaseAndSuffixRules) {
    EXPECT_EQ(Numeral(8, 0), "I");
    EXPECT_EQ(Numeral(5, 1), "vi");
    EXPECT_EQ(Numeral(7, 4), "VII°");
    EXPECT_EQ(Numeral(6, 11), "#viM7");
    EXPECT_EQ(Numeral(0, 12), "iii6");
    EXPECT_EQ(Numeral(3, 10), "V6");
    EXPECT_EQ(Numeral(1, 15), "IVaug7");
    EXPECT_EQ(Numeral(8, 16), "Isus7");
    EXPECT_EQ(Numeral(8, 99), "I");
    // A row's numerals: the codes of a row joined in order.
    EXPECT_EQ(RowNumerals(1), "I6 - IV - VII° - iii - vi6 - ii - V6 - I");
    EXPECT_EQ(RowNumerals(18), "iv - #II - #I - I");
    EXPECT_EQ(RowNumerals(57), "vi - vii5b7 - iii - I7 - IV - #VI - III7 - vi");
    EXPECT_EQ(BaseName(99), "Blues Progression 12-10");
}

TEST(ProgressionTable, PhrasesHoldFourEightTwelveOrSixteenChords) {
    EXPECT_EQ(PhraseLength(0), 4);
    EXPECT_EQ(PhraseLength(1), 8);
    EXPECT_EQ(PhraseLength(90), 12);
    EXPECT_EQ(PhraseLength(58), 16);
    EXPECT_EQ(ListEntryText(0), "000. 50's Progression --- SECTION 1");
    EXPECT_EQ(ListEntryText(99), "099. Blues Progression 12-10 --- END");
}

}  // namespace
}  // namespace chordella::composer
