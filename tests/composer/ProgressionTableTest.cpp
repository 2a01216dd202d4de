// The progression table: its rows' shape, sample rows' codes, section marks and numerals.
#include <gtest/gtest.h>

#include <array>

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

TEST(ProgressionTable, RootCodesAndTypesOfOneRowPerSection) {
    using Codes = std::array<std::int32_t, ProgressionSlots>;
    // I - vi - IV - V: root codes 8, 5, 1, 3; maj, min, maj, maj.
    EXPECT_EQ(CommonProgressions[0].RootCodes, (Codes{8, 5, 1, 3, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(CommonProgressions[0].Types, (Codes{0, 1, 0, 0}));
    // vi - vii5b7 - iii - I7 - IV - #VI - III7 - vi.
    EXPECT_EQ(CommonProgressions[57].RootCodes, (Codes{5, 7, 0, 8, 1, 6, 0, 5, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(CommonProgressions[57].Types, (Codes{1, 14, 1, 2, 0, 0, 2, 1}));
    // I7 - V - IV7 - IV7 - I - V - I - V7.
    EXPECT_EQ(CommonProgressions[78].RootCodes, (Codes{8, 3, 1, 1, 8, 3, 8, 3, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(CommonProgressions[78].Types, (Codes{2, 0, 2, 2, 0, 0, 0, 2}));
    // Sixteen chords leave only the terminator.
    EXPECT_EQ(ChordCount(84), 16);
    EXPECT_EQ(CommonProgressions[84].RootCodes[16], -1);
    // i7 - i7 - i7 - i7 - iv7 - iv7 - i7 - i7 - #V7 - V7 - i7 - i7.
    EXPECT_EQ(CommonProgressions[98].RootCodes, (Codes{8, 8, 8, 8, 1, 1, 8, 8, 4, 3, 8, 8, -1, -1, -1, -1, -1}));
    EXPECT_EQ(CommonProgressions[98].Types, (Codes{3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 3, 3}));
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
