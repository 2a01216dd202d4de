// Filling the converter's eight lists from section markers, the variations sets with their
// fallback, random choices and the remembered selections.
#include <gtest/gtest.h>

#include "stylecreator/ConverterLists.h"

namespace chordella::testing {
namespace {

using namespace stylecreator;
using data::SectionMarker;

constexpr int Basic = 0, Extended = 1, Intro = 2, Ending = 3, FillBasic = 4, FillExtended = 5, ToExtended = 6,
              ToBasic = 7;

std::vector<SectionMarker> Markers(std::vector<SectionMarker> sections) {
    sections.insert(sections.begin(), {{"SFF1", 1, 1}, {"SInt", 1, 1}});
    return sections;
}

std::vector<std::string> Texts(const ConverterLists& lists, int list) {
    std::vector<std::string> texts;
    for (const SectionEntry& e : lists.List(list)) texts.push_back(e.Text());
    return texts;
}

TEST(ConverterLists, SectionsGoToTheirListsAFillIsOfferedAsItsFirstMeasureAndLeadingOrOverlappedSectionsAreNot) {
    ConverterLists lists;
    lists.Fill(Markers({{"Intro A", 2, 5}, {"Main A", 6, 9}, {"Fill In AA", 10, 12}, {"Main B", 13, 16},
                        {"Ending A", 17, 18}}));
    EXPECT_EQ(Texts(lists, Basic), (std::vector<std::string>{"Main A : 6 - 9", "Main B : 13 - 16"}));
    EXPECT_EQ(Texts(lists, Extended), Texts(lists, Basic));
    EXPECT_EQ(Texts(lists, Intro), (std::vector<std::string>{"Intro A : 2 - 5"}));
    EXPECT_EQ(Texts(lists, Ending), (std::vector<std::string>{"Ending A : 17 - 18"}));
    for (int list : {FillBasic, FillExtended, ToExtended, ToBasic})
        EXPECT_EQ(Texts(lists, list), (std::vector<std::string>{"Fill In AA : 10 - 10"}));
    EXPECT_EQ(lists.Selected(), (Selections{0, 1, 0, 0, 0, 0, 0, 0}));
    const auto ranges = lists.ChosenRanges();
    EXPECT_EQ(ranges[1].First, 6);
    EXPECT_EQ(ranges[2].First, 13);
    EXPECT_EQ(ranges[2].Last, 16);
    EXPECT_EQ(ranges[4].Last, 10);

    lists.Fill(Markers({{"Main A", 9, 9}, {"Main B", 4, 8}, {"Main C", 10, 12}}));
    EXPECT_EQ(Texts(lists, Basic), (std::vector<std::string>{"Main B : 4 - 8", "Main C : 10 - 12"}));
    lists.Fill({{"Main A", 1, 4}, {"Main B", 5, 8}});
    EXPECT_TRUE(lists.List(Basic).empty());
    EXPECT_EQ(lists.Selected()[Basic], -1);
    EXPECT_EQ(lists.ChosenRanges()[1].First, 0);
}

TEST(ConverterLists, SetsFallBackRandomPartsKeepPartnersApartAndRememberedIndexesTooLargeSelectTheFirst) {
    ConverterLists lists;
    lists.Fill(Markers({{"Main A", 2, 5}, {"Fill In AA", 6, 6}}));
    platform::Random random(1);
    lists.ChooseSet(0, random);
    EXPECT_EQ(lists.Selected()[Basic], 0);
    EXPECT_EQ(lists.Selected()[Extended], -1);
    EXPECT_EQ(lists.Selected()[FillExtended], -1);
    EXPECT_EQ(lists.ChosenRanges()[2].First, 0);

    lists.Fill(Markers({{"Intro A", 1, 2}, {"Main A", 3, 4}, {"Main B", 5, 6}, {"Main C", 7, 8},
                        {"Fill In AA", 9, 9}, {"Fill In BB", 10, 10}}));
    lists.ChooseSet(2, random);   // set No. 3: Basic 1, Extended 3 → 2, Intro 1 → 0, fills 1 and 3 → 0
    EXPECT_EQ(lists.Selected(), (Selections{1, 2, 0, -1, 1, 0, 1, 0}));
    lists.ChooseSet(5, random);   // set No. 6: Basic 1, Extended 0
    EXPECT_EQ(lists.Selected()[Basic], 1);
    EXPECT_EQ(lists.Selected()[Extended], 0);

    lists.Fill(Markers({{"Main A", 1, 2}, {"Main B", 3, 4}, {"Fill In AA", 5, 5}, {"Fill In BB", 6, 6}}));
    random = platform::Random(7);
    for (int round = 0; round < 50; ++round) {
        lists.ChooseRandomParts(random);
        EXPECT_NE(lists.Selected()[Basic], lists.Selected()[Extended]);
        EXPECT_NE(lists.Selected()[ToExtended], lists.Selected()[ToBasic]);
    }
    lists.ShowRemembered({3, 1, 0, 0, 1, 5, 0, 1});
    EXPECT_EQ(lists.Selected(), (Selections{0, 1, -1, -1, 1, 0, 0, 1}));
}

}  // namespace
}  // namespace chordella::testing
