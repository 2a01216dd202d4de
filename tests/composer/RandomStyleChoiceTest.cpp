// Choosing a style at random from a list, with a loader that reports what it found.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

#include "composer/RandomStyleChoice.h"
#include "platform/Random.h"
#include "support/TempFolder.h"

namespace chordella::composer {
namespace {

class FakeList final : public StyleListLink {
public:
    explicit FakeList(std::vector<std::string> entries, StyleListKind kind = StyleListKind::StyleManagerFiles)
        : entries_(std::move(entries)), kind_(kind) {}
    StyleListKind Kind() const override { return kind_; }
    std::vector<std::string> Entries() const override { return entries_; }
    bool NextTicked() const override { return next; }
    int SelectedIndex() const override { return selected; }
    int FindNext() override { return found; }
    void ShowChosen(int index) override { selected = index; }

    bool next = false;
    int selected = -1;
    int found = -1;

private:
    std::vector<std::string> entries_;
    StyleListKind kind_;
};

class FakeLoader final : public StyleLoadLink {
public:
    StyleLoadOutcome LoadChosenStyle(const std::string& path) override {
        loads.push_back(path);
        auto it = outcomes.find(path);
        return it == outcomes.end() ? StyleLoadOutcome{true, true, true} : it->second;
    }
    bool EscapePressed() override { return false; }

    std::map<std::string, StyleLoadOutcome> outcomes;
    std::vector<std::string> loads;
};

TEST(RandomStyleChoice, AlternatesBetweenTheUpperAndTheLowerHalfStartingWithTheUpper) {
    FakeList list({"a.vxs", "b.vxs", "c.vxs", "d.vxs"});
    FakeLoader loader;
    RandomStyleChoice choice;
    platform::Random random(11);
    for (int i = 0; i < 20; ++i) {
        const std::string path = choice.Choose(list, loader, random, false);
        const bool upper = path == "c.vxs" || path == "d.vxs";
        EXPECT_EQ(upper, i % 2 == 0) << path;
    }
}

TEST(RandomStyleChoice, SkipsWantMoreEntriesEmptyStylesAndStylesWithoutBassWhenABassIsWanted) {
    // Lower half: the first three entries; upper half: the last three.
    FakeList list({"x/Want More !!!.vxs", "empty.vxs", "good1.vxs", "nobass.vxs", "good2.vxs", "good3.vxs"});
    FakeLoader loader;
    loader.outcomes["empty.vxs"] = {true, false, false};
    loader.outcomes["nobass.vxs"] = {true, true, false};
    RandomStyleChoice choice;
    platform::Random random(3);
    for (int i = 0; i < 10; ++i) {
        const std::string path = choice.Choose(list, loader, random, true);
        EXPECT_TRUE(path == "good1.vxs" || path == "good2.vxs" || path == "good3.vxs") << path;
    }
    for (const auto& path : loader.loads) EXPECT_NE(path, "x/Want More !!!.vxs");
}

TEST(RandomStyleChoice, GivesUpAfterAHundredDrawsAndAfterTheStartStyleMark) {
    FakeList list({"nobass.vxs"});
    FakeLoader loader;
    loader.outcomes["nobass.vxs"] = {true, true, false};
    RandomStyleChoice choice;
    platform::Random random(3);
    choice.SetSkipMark();
    EXPECT_EQ(choice.Choose(list, loader, random, true), "");
    EXPECT_TRUE(loader.loads.empty());
    EXPECT_EQ(choice.Choose(list, loader, random, true), "nobass.vxs");
    EXPECT_EQ(loader.loads.size(), 100u);
    FakeList empty({});
    EXPECT_EQ(choice.Choose(empty, loader, random, false), "");
}

TEST(RandomStyleChoice, NextTakesTheFollowingEntryAndWrapsOrStopsAtTheLastForAGroup) {
    FakeList list({"a.vxs", "b.vxs", "c.vxs"}, StyleListKind::Playlist);
    list.next = true;
    list.selected = 1;
    FakeLoader loader;
    RandomStyleChoice choice;
    platform::Random random(3);
    EXPECT_EQ(choice.Choose(list, loader, random, false), "c.vxs");
    EXPECT_EQ(choice.Choose(list, loader, random, false), "a.vxs");
    list.found = 1;
    EXPECT_EQ(choice.Choose(list, loader, random, false), "b.vxs");
}

TEST(RandomStyleChoice, TheStylesFolderListsItsStyleFilesInOrder) {
    testing::TempFolder folder;
    for (const char* name : {"b.vxs", "A.VXS", "notes.txt"}) std::ofstream(folder.File(name)) << "x";
    StylesFolderList list(folder.Path());
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{folder.File("A.VXS"), folder.File("b.vxs")}));
    EXPECT_TRUE(StylesFolderList(folder.File("missing")).Entries().empty());
}

}  // namespace
}  // namespace chordella::composer
