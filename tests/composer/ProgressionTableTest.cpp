// The progression table as a musician reads it: every row's name and chords in numerals,
// written out here independently of the table's root codes and type indices.
#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "composer/ProgressionTable.h"

namespace chordella::composer {
namespace {

struct RowText {
    std::string_view Name;
    std::string_view Chords;
};

constexpr std::array<RowText, ProgressionRows> ExpectedRows = {{
    {"50's Progression", "I - vi - IV - V"},
    {"Circle Progression", "I6 - IV - VII° - iii - vi6 - ii - V6 - I"},
    {"ii - V - I Turnaround", "ii - V - I - I"},
    {"V - IV - I Turnaround", "V - IV - I - I"},
    {"Pachelbel's Canon", "I - V - vi - iii - IV - I - IV - V"},
    {"Ragtime Progression", "VI7 - II7 - V7 - I"},
    {"Pop-Progression", "I - V - vi - IV"},
    {"Progr. I - V", "I - V - I - V"},
    {"Progr. I - IV - V - I", "I - IV - V - I"},
    {"Progr. I - IV - I - V", "I - IV - I - V"},
    {"Progr. I - vi - IV - V", "I - vi - IV - V"},
    {"Progr. I - V - vi - IV", "I - V - vi - IV"},
    {"Progr. vi - IV - I - V", "vi - IV - I - V"},
    {"Progr. I - vi - ii - V", "I - vi - ii - V"},
    {"Progr. V - I - iii - iV", "V - I - iii - IV"},
    {"Progr. I - V - ii - V", "I - V - ii - V"},
    {"Progr. I - IV - vi - V", "I - IV - vi - V"},
    {"Progr. vi - V - IV", "vi - V - IV - V"},
    {"Andalusian cadence", "iv - #II - #I - I"},
    {"Backdoor progression", "ii - #VI7 - I - I"},
    {"Circle progression 2", "vi6 - ii - V6 - I"},
    {"Eight-bar blues", "I - V - IV - V7 - I - V - I - V7"},
    {"Romanesca", "I - V - vi - III - I - V - III - vi"},
    {"Hotel C.", "vi - III - V - II - IV - I - ii - III"},
    {"Progr. I - ii - iii - IV", "I - ii - iii - IV"},
    {"Progr. I-ii-iii-IV-VIb-VIIb-I-I", "I - ii - iii - IV - #V - #VI - I - I"},
    {"Progr. I - vi - VII° - I", "I - vi - VII° - I"},
    {"Progr. ii - IV - I - V", "ii - IV - I - V"},
    {"Progr. iii - IV - V7 - I", "iii - IV - V7 - I"},
    {"Progr. I - II7 - VII° - I", "I - II - VII° - I"},
    {"Progr. I-III7-IV-II7-I-V7-IV7-I", "I - III7 - IV - II7 - I - V7 - IV7 - I"},
    {"Progr. vi - III7 - ii - V", "vi - III7 - ii - V"},
    {"Progr. vi - II7 - IV - V7", "vi - II7 - IV - V7"},
    {"House of the rising sun", "vi - I - II - IV - vi - III7 - vi - III7"},
    {"Let it be (chorus)", "vi - V - IV - I - I - V - IV - I"},
    {"Progr. I - IV - V - IV", "I - IV - V - IV"},
    {"Progr. ii - IV - V", "ii - IV - V - V"},
    {"Progr. vi - V - IV - III", "vi - V - IV - III"},
    {"Progr. vi - V - VI - V", "vi - V - VI - V"},
    {"Progr. ii - I - V6 - bVII", "ii - I - V6 - #VI"},
    {"Progr. I - IV - ii - V", "I - IV - ii - V"},
    {"Progr. I - ii - iii - IV", "I - ii - iii - IV"},
    {"Progr. I - III - IV - ii", "I - III - IV - ii"},
    {"Other Progression 01", "I - vi - IV - V - I - vi - V - I"},
    {"Other Progression 02", "I - V - vi - iii - IV - V - I - I"},
    {"Other Progression 03", "I - ii - V - iii - vi - IV - V - I"},
    {"Other Progression 04", "I - IV - V - vi - I - IV - V - I"},
    {"Other Progression 05", "vi - ii - V7 - I - vi - ii - III7 - vi"},
    {"Other Progression 06", "vi - I - III - IV - V7 - I - III7 - vi"},
    {"Other Progression 07", "vi - IV - V - iii - vi - IV - V - vi"},
    {"Other Progression 08", "vi - II - vi - II - IV - I - V - vi"},
    {"Other Progression 09", "I7 - IV7 - ii7 - iii7 - vi7 - II7 - V7 - I"},
    {"Other Progression 10", "I - I7 - IV - II7 - V - V7 - I - I"},
    {"Other Progression 11", "I - III7 - vi - IV - ii - V7 - I - I"},
    {"Other Progression 12", "I - vi - VII7 - iii - I - vi - V - I"},
    {"Other Progression 13", "I - VI7 - ii - V7 - I7 - ii - V7 - I"},
    {"Other Progression 14", "vi - ii - V - iii - I - #VI - III - vi"},
    {"Other Progression 15", "vi - vii5b7 - iii - I7 - IV - #VI - III7 - vi"},
    {"Other Progression 16", "I - vi - ii - ii - iii - I7 - IV - IV - V - III7 - vi - vi - vii5b7 - V - I - I"},
    {"Other Progression 17", "I - vi - ii - VII7 - iii - I7 - IV - II7 - V - III7 - vi - I7 - vii5b7 - V7 - I - I"},
    {"Other Progression 18", "vi - IV - V - iii - IV - ii - iii - I7 - ii - VII7 - I - vi - ii - III - vi - vi"},
    {"Other Progression 19", "I - V7 - I - V7 - vi - IV - iv - I"},
    {"Other Progression 20", "I - I7 - IV - II7 - V - III7 - vi - I7 - IV - iv - i - #V - #II - V7 - I - I"},
    {"Other Progression 21", "vi - Vsus4 - III7 - vi9 - IV - VII7 - III7 - vi"},
    {"Other Progression 22", "I - #VI - I - #II - I - #VI - V - V - I - #VI - I - #II - #VI - IV - I - I"},
    {"Other Progression 23", "I - #VI - I - #II - I - #VI - V - V"},
    {"Other Progression 24", "I - #VI - I - #II - #VI - IV - I - I"},
    {"Orlo Progression 01", "I - I - IV - IV - I - vi - IV - V"},
    {"Orlo Progression 02", "I - I - ii - ii - IV - vi - V7 - V7 - vi - IV - vi - IV - vi - IV - V7 - V7"},
    {"Orlo Progression 03", "IV - iv - I - I7 - IV - iv - I - I7 - IV - V - vi - IV - Isus4 - I - V7 - V7"},
    {"Orlo Progression 04", "I - ii - IV - V - I - IV - vi - V7 - iii - IV - I - ii - IV - V - Isus4 - I"},
    {"Orlo Progression 05", "iii - IV - vi - V7 - iii - IV - I - V - vi - IV - ii - V - iii - IV - vi - V7"},
    {"Orlo Progression 06", "vi - vi - V - V - IV - ii - vi - vi"},
    {"Orlo Progression 07", "I - #VI - I - I - I - IV - V - V - IV - I - vi - IV - I - V - I - I"},
    {"Orlo Progression 08", "I - III7 - IV - II7 - I - V7 - IV7 - I"},
    {"Blues Progression 08-01", "I - V7 - I - I7 - IV - IV7 - I - V7"},
    {"Blues Progression 08-02", "I7 - I7 - IV7 - IV7 - I - V7 - IV - I"},
    {"Blues Progression 08-03", "I - I - I - I7 - IV - IV7 - V - I"},
    {"Blues Progression 08-04", "I7 - V - IV7 - IV7 - I - V - I - V7"},
    {"Blues Progression 08-05", "I - I - I - I7 - IV - IV7 - V - V7"},
    {"Blues Progression 08-06", "I - I - I - I7 - IV7 - V7 - I - V7"},
    {"Blues Progression 08-07", "IV - IV7 - I - I7 - V7 - IV7 - I - V7"},
    {"Blues Progression 08-08", "I7 - V7 - IV7 - IV7 - I7 - V7 - IV7 - V7"},
    {"Blues Progression 08-09", "vi - vi - ii - vi - iii - ii - vi - III"},
    {"Blues Progression 16-01", "I - I - I - I7 - I - I - I - I7 - IV - IV7 - I - I7 - V - IV7 - I - I"},
    {"Blues Progression 16-02", "I - I - I - I7 - IV - IV7 - I - I7 - V - V7 - IV7 - IV7 - I - I7 - I - I"},
    {"Blues Progression 16-03", "I - I - I - I7 - IV - IV7 - I - I - IV - IV7 - I - I - V - V7 - I - I"},
    {"Blues Progression 16-04", "I - I - I - I7 - IV - IV7 - I - I - V7 - IV7 - V7 - IV7 - V7 - IV7 - I - I"},
    {"Blues Progression 16-05", "I - I - I - I7 - IV - IV7 - I - I - V7 - IV7 - V7 - IV7 - I - I7 - I - I"},
    {"Blues Progression 16-06", "I7 - I7 - I7 - I7 - IV7 - IV7 - I7 - I7 - V7 - IV7 - V7 - IV7 - V7 - IV7 - I7 - I7"},
    {"Blues Progression 12-01", "I - I - I - I7 - IV - IV7 - I - I - V7 - IV7 - I - V7"},
    {"Blues Progression 12-02", "I - I - I - I7 - IV - IV7 - I - I - V7 - IV7 - I - I"},
    {"Blues Progression 12-03", "I7 - I7 - I7 - I7 - IV - IV7 - I - I - V - V7 - I - I"},
    {"Blues Progression 12-04", "I7 - IV7 - I7 - I7 - IV - IV7 - I - I - V - IV7 - I - V7"},
    {"Blues Progression 12-05", "I - I - I - I7 - IV - IV7 - I - I - IV - V7 - I - V7"},
    {"Blues Progression 12-06", "I7 - IV7 - I7 - I7 - IV7 - IV7 - I7 - VI7 - II7 - V7 - VI7 - V7"},
    {"Blues Progression 12-07", "I - I - I - I7 - IV7 - #IV7 - I7 - VI7 - ii7 - V7 - I7 - V7"},
    {"Blues Progression 12-08", "I7 - IV7 - I7 - I7 - IV7 - #IV° - I7 - VI7 - ii7 - V7 - I7 - V7"},
    {"Blues Progression 12-09", "i7 - i7 - i7 - i7 - iv7 - iv7 - i7 - i7 - #V7 - V7 - i7 - i7"},
    {"Blues Progression 12-10", "vi7 - ii7 - vi7 - vi7 - ii7 - ii7 - vi7 - vi7 - iii7 - ii7 - vi7 - iii7"},
}};

TEST(ProgressionTable, EveryRowHasItsNameAndItsChordsInNumerals) {
    for (int row = 0; row < ProgressionRows; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(BaseName(row), ExpectedRows[static_cast<std::size_t>(row)].Name);
        EXPECT_EQ(RowNumerals(row), ExpectedRows[static_cast<std::size_t>(row)].Chords);
    }
}

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
