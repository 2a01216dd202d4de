// The style browser over real style files: what it lists from a folder, how the search
// narrows it, and what a click, Enter and an added folder ask for.
#include "ui/StyleBrowser.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <map>

#include "support/TempFolder.h"
#include "ui/QtTestApp.h"
#include "support/TestPaths.h"

namespace chordella::ui {
namespace {

namespace fs = std::filesystem;

const fs::path Assets = fs::path(chordella::testing::AssetsFolder()) / "styles";

std::vector<std::string> Names(const std::vector<StyleEntry>& entries) {
    std::vector<std::string> names;
    for (const StyleEntry& entry : entries) names.push_back(entry.Name);
    return names;
}

class StyleBrowserTest : public ::testing::Test {
protected:
    QApplication& app = testing::QtTestApp();
    StyleBrowserTest() {
        for (const char* style : {"waltz.vxs", "bossa.vxs", "swing.vxs"})
            fs::copy_file(Assets / style, fs::path(styles.Path()) / style);
        fs::create_directory(fs::path(styles.Path()) / "Latin");
        fs::copy_file(Assets / "samba.vxs", fs::path(styles.Path()) / "Latin" / "SAMBA.VXS");
        std::ofstream(fs::path(styles.Path()) / "Broken.vxs") << "not a style";
        std::ofstream(fs::path(styles.Path()) / "Foreign.sty") << "MThd";
        std::ofstream(fs::path(styles.Path()) / "notes.txt") << "not listed";
        browser.resize(500, 400);
        browser.show();
    }

    void ReadAll() { ASSERT_TRUE(QTest::qWaitFor([&] { return !browser.Scanning(); }, 30000)); }

    testing::TempFolder styles;
    StyleBrowser browser;
};

TEST_F(StyleBrowserTest, ListsTheFoldersStylesWithMeterAndTempoSaysWhyABrokenOneCannotLoadAndTheSearchNarrows) {
    browser.SetFolders(styles.Path(), {});
    ReadAll();
    const std::vector<StyleEntry> shown = browser.ShownEntries();
    EXPECT_EQ(Names(shown), (std::vector<std::string>{"Bossa", "Broken", "Foreign", "Samba", "Swing", "Waltz"}));
    std::map<std::string, StyleEntry> byName;
    for (const StyleEntry& entry : shown) byName[entry.Name] = entry;
    EXPECT_EQ(byName["Waltz"].Meter, "3/4");
    EXPECT_EQ(byName["Bossa"].Meter, "4/4");
    for (const char* name : {"Bossa", "Waltz", "Samba"}) EXPECT_GT(byName[name].Tempo, 0) << name;
    EXPECT_EQ(byName["Foreign"].Tempo, 0) << "another maker's style is read when it is loaded";
    EXPECT_FALSE(DescribeStyleFile(styles.Path() + "/Broken.vxs").Problem.empty());
    EXPECT_TRUE(DescribeStyleFile(styles.Path() + "/bossa.vxs").Problem.empty());

    // The search narrows by name, tempo or meter.
    auto* search = browser.findChild<QLineEdit*>("StyleSearch");
    ASSERT_NE(search, nullptr);
    QTest::keyClicks(search, "SA");
    EXPECT_EQ(Names(browser.ShownEntries()), (std::vector<std::string>{"Bossa", "Samba"}));
    search->setText("3/4");
    EXPECT_EQ(Names(browser.ShownEntries()), (std::vector<std::string>{"Waltz"}));
    search->setText("bossa nothing");
    EXPECT_TRUE(browser.ShownEntries().empty()) << "every word must match";
    search->clear();
    EXPECT_EQ(browser.ShownEntries().size(), 6u);
}

TEST_F(StyleBrowserTest, AClickLoadsEnterPlaysAndAnAddedFolderIsListedAndReported) {
    std::vector<std::string> loaded;
    std::vector<std::string> played;
    int folderChanges = 0;
    browser.OnLoad = [&](const std::string& path) { loaded.push_back(path); };
    browser.OnPlay = [&](const std::string& path) { played.push_back(path); };
    browser.OnFoldersChanged = [&] { ++folderChanges; };
    browser.SetFolders(styles.Path(), {});
    ReadAll();
    auto* list = browser.findChild<QTreeWidget*>("StyleList");
    ASSERT_NE(list, nullptr);
    QTreeWidgetItem* bossa = list->topLevelItem(0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(bossa).center());
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(fs::path(loaded[0]).filename(), "bossa.vxs");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0], loaded[0]);

    testing::TempFolder more;
    fs::copy_file(Assets / "rock.vxs", fs::path(more.Path()) / "rock.vxs");
    browser.AddFolder(more.Path());
    browser.AddFolder(more.Path());  // once is enough
    ReadAll();
    EXPECT_EQ(folderChanges, 1);
    EXPECT_EQ(browser.AddedFolders(), std::vector<std::string>{more.Path()});
    EXPECT_EQ(browser.ShownEntries().size(), 7u);
}

TEST_F(StyleBrowserTest, ThePlaylistIsAskedForWhenPickedAndItsStylesLoadWithAClick) {
    browser.SetFolders(styles.Path(), {});
    ReadAll();
    std::vector<QString> wanted;
    std::vector<std::string> loaded;
    browser.OnListWanted = [&](const QString& source) { wanted.push_back(source); };
    browser.OnLoad = [&](const std::string& path) { loaded.push_back(path); };
    auto* source = browser.findChild<QComboBox*>("StyleSource");
    ASSERT_NE(source, nullptr);
    source->setCurrentText(StyleBrowser::PlaylistSource);
    EXPECT_EQ(wanted, std::vector<QString>{StyleBrowser::PlaylistSource});
    EXPECT_TRUE(browser.ShownEntries().empty()) << "the folders' styles are not the playlist";

    const std::string waltz = styles.Path() + "/waltz.vxs";
    browser.ShowEntries(StyleBrowser::PlaylistSource,
                        EntriesOfList({"C:\\STYLES\\WALTZ.VXS|bpm150|3/4|folk||BASS", "C:\\STYLES\\Gone.sty|bpm???|4/4",
                                       "not a style line"},
                                      {waltz, "", ""}));
    EXPECT_EQ(Names(browser.ShownEntries()), (std::vector<std::string>{"Waltz", "Gone"}));
    auto* list = browser.findChild<QTreeWidget*>("StyleList");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(list->topLevelItemCount() - 2)).center());
    EXPECT_EQ(loaded, std::vector<std::string>{waltz}) << "the style file found here, not the stored path";

    // The playlist's search (its terms are library/StylePlaylistTest's) narrows the list, and
    // its refusal is shown.
    auto* search = browser.findChild<QLineEdit*>("StyleSearch");
    search->setText("+folk; >120");
    EXPECT_EQ(Names(browser.ShownEntries()), std::vector<std::string>{"Waltz"});
    search->setText("a;b;c;d;e;f;g;h;i;j;k;l;m;n;o;p");
    EXPECT_TRUE(browser.ShownEntries().empty());
    EXPECT_FALSE(browser.findChild<QLabel*>("StyleSearchProblem")->text().isEmpty()) << "16 terms are refused";

    search->setText(">135; +4/4");
    browser.ShowSource(StyleBrowser::FoldersSource);
    EXPECT_EQ(Names(browser.ShownEntries()), std::vector<std::string>{"Swing"}) << "the query works on folders too";
}

// Names and meters typed into the search field are checked above; a tempo is a whole word.
TEST(StyleCatalog, ASearchWordMatchesATempoAsAWholeNumber) {
    const StyleEntry entry{"/s/Rock&roll.vxs", "Rock&roll", "4/4", 132, "", ""};
    EXPECT_TRUE(EntryMatches(entry, "rock 132"));
    EXPECT_FALSE(EntryMatches(entry, "13"));
    EXPECT_FALSE(EntryMatches(entry, "3/4"));
    EXPECT_TRUE(StyleFilesIn("/no/such/folder").empty());
}

}  // namespace
}  // namespace chordella::ui
