// The library windows and the MIDI commands over the real host and core, driven as a user
// would: the "Style-Playlist" favourites cleaned of duplicates and exported, the
// "Style-Manager" keeping the loaded style in a group, the songlist taking the open song and
// saving itself, a MIDI command sent from its row onto the commands output, and the
// "Instruments" window opening and storing sets of instrument keys.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <filesystem>
#include <string>

#include "app/LiveArranger.h"
#include "core/Session.h"
#include "desktop/DesktopPlaylist.h"
#include "desktop/DesktopStyleManager.h"
#include "library/StylePlaylist.h"
#include "platform/Paths.h"
#include "remote/MidiCommandTable.h"
#include "remote/RemoteControl.h"
#include "support/TestPaths.h"
#include "support/TextFiles.h"
#include "ui/InstrumentsWindow.h"
#include "ui/MidiCommandsWindow.h"
#include "ui/SonglistWindow.h"
#include "ui/StyleManagerWindow.h"
#include "ui/StylePlaylistWindow.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

constexpr int CommandsOutput = 2;  // "Memory Out 3"

// An item of the playlist window's "Favorites list" menu.
QAction* FavoritesItem(QWidget* window, const QString& text) {
    for (QMenu* menu : window->findChildren<QMenu*>())
        if (menu->title() == "Favorites list") return ActionIn(menu, text);
    return nullptr;
}

// A playlist of three styles and favourites holding one of them twice in the data home at
// start: a search by tempo, "Random" for the song creator's style choice, "Bad style" taking
// the selected line out of the list, and the favourites losing their duplicate.
TEST(StylePlaylistWindow, ASearchByTempoFindsItsStylesABadStyleLeavesTheListAndTheFavouritesLoseTheirDuplicates) {
    TempFolder styles, second;
    for (const char* name : {"slow.vxs", "middle.vxs", "fast.vxs"}) WriteTextFile(styles.File(name), std::string(64, 's'));
    WriteTextFile(second.File("slow.vxs"), std::string(64, 'q'));  // the same name and size: the same style
    const std::string lines = styles.File("slow.vxs") + "|bpm80|4/4|ballad\n" + styles.File("middle.vxs") +
                              "|bpm110|4/4|pop\n" + styles.File("fast.vxs") + "|bpm160|4/4|rock\n";
    std::string lists;
    WindowRig rig([&](const std::string& home) {
        lists = home + "/LISTS";
        std::filesystem::create_directories(lists);
        WriteTextFile(lists + "/StylePlayList.gen", lines);
        WriteTextFile(lists + "/StyleFavorites.sea", lines + second.File("slow.vxs") + "|bpm80|4/4\n");
    });
    rig.TriggerMenu("Style-Playlist ...");
    auto* window = TopLevel<ui::StylePlaylistWindow>("StylePlaylistWindow");
    ASSERT_NE(window, nullptr);
    QStringList asked, told;
    window->Ask = [&asked](const QString& question) {
        asked << question;
        return true;
    };
    window->Tell = [&told](const QString& text) { told << text; };
    auto* shown = window->findChild<QListWidget*>("SearchResult");
    auto* query = window->findChild<QComboBox*>("SearchBox");

    query->setCurrentText(">100");
    window->findChild<QPushButton*>("SearchButton")->click();
    // The list shows the search's result once the control thread has answered.
    ASSERT_TRUE(rig.WaitFor([&] {
        return shown->count() == 2 && shown->item(0)->text().contains("middle.vxs") &&
               shown->item(1)->text().contains("fast.vxs");
    })) << shown->count() << " " << (shown->count() > 0 ? shown->item(0)->text().toStdString() : "");
    QLabel* found = nullptr;
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->text().startsWith("Found:")) found = label;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->text(), "Found: 2");

    for (QCheckBox* box : window->findChildren<QCheckBox*>())
        if (box->text() == "Random") box->click();
    EXPECT_TRUE(rig.Read([](desktop::DesktopCore& core) { return core.Playlist().Lists().RandomTicked; }));

    // The second hit, "fast", is a bad style: asked, it leaves the playlist file.
    shown->setCurrentRow(1);
    QTest::mouseClick(shown->viewport(), Qt::LeftButton, {}, shown->visualItemRect(shown->item(1)).center());
    rig.Settle();
    QAction* bad = ActionIn(window->findChild<QMenuBar*>(), "Bad style");
    ASSERT_NE(bad, nullptr);
    bad->trigger();
    ASSERT_TRUE(rig.WaitFor([&] { return shown->count() == 1; }));
    EXPECT_EQ(asked.back(), "Do you really want to remove the current style from the playlist?");
    const std::vector<std::string> left = rig.Read([](desktop::DesktopCore& core) {
        return core.Playlist().Lists().List(library::StyleListKind::Playlist).Lines;
    });
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[1].find("fast.vxs"), std::string::npos);

    // Which favourites go and what the files hold is the playlist's (library/StylePlaylistTest);
    // here the menu's items reach it and the window says what was done.
    told.clear();
    FavoritesItem(window, "Open favorites list")->trigger();
    ASSERT_TRUE(rig.WaitFor([&] { return shown->count() == 4; })) << shown->count();
    FavoritesItem(window, "Delete duplicates")->trigger();
    ASSERT_TRUE(rig.WaitFor([&] { return !told.isEmpty(); }));
    EXPECT_EQ(told.back(), "1 style(s) was/were deleted from the current list !");
    FavoritesItem(window, "Export to playlist")->trigger();
    ASSERT_TRUE(rig.WaitFor([&] { return told.size() == 2; }));
    EXPECT_EQ(told.back(), "The favoriteslist has been exported to \"StyleFavorites.txt\" !");
    EXPECT_TRUE(std::filesystem::exists(lists + "/StyleFavorites.txt"));
}

TEST(StyleManagerWindow, TheLoadedStyleJoinsAGroupAfterTheQuestionAndLeavesItAgain) {
    WindowRig rig;
    ASSERT_TRUE(rig.OpenBundledStyle("bossa.vxs"));
    rig.TriggerMenu("Style-&Manager ...");
    auto* window = rig.Window().findChild<ui::StyleManagerWindow*>("StyleManagerWindow");
    ASSERT_NE(window, nullptr);
    auto* tree = window->findChild<QTreeWidget*>("GroupTree");
    auto* entries = window->findChild<QListWidget*>("EntryList");
    tree->setCurrentItem(tree->topLevelItem(0));  // "Pop"
    rig.Settle();

    rig.Prompter().AnswerYes();
    window->findChild<QPushButton*>("AddOrEditButton")->click();
    ASSERT_TRUE(rig.WaitFor([&] { return entries->count() == 1; }));
    EXPECT_TRUE(rig.Prompter().WasShown("Add \"bossa.vxs\" to group \"Pop\" ?"));
    EXPECT_TRUE(entries->item(0)->text().startsWith("bossa.vxs")) << entries->item(0)->text().toStdString();
    const auto kept = [&rig] { return rig.Read([](desktop::DesktopCore& core) { return core.ReadStyleManager().Entries; }); };
    ASSERT_EQ(kept().size(), 1u);

    // Asked again for the same style, it edits the entry instead of adding a second.
    rig.Prompter().AnswerYes();
    window->findChild<QPushButton*>("AddOrEditButton")->click();
    rig.Settle();
    EXPECT_TRUE(rig.Prompter().WasShown("Edit the description of \"bossa.vxs\" (loaded style)?"));
    EXPECT_EQ(entries->count(), 1);

    entries->setCurrentRow(0);
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {}, entries->visualItemRect(entries->item(0)).center());
    rig.Prompter().AnswerYes();
    window->findChild<QPushButton*>("RemoveButton")->click();
    ASSERT_TRUE(rig.WaitFor([&] { return entries->count() == 0; }));
    EXPECT_TRUE(kept().empty());
}

// The bundled blues (a copy) opened, and the songlist window showing an empty list ("Yes =
// Remove current songlist"): the open song joins it, the list is saved and loses it again;
// then with two entries "Repeat" plays on for one song and is cleared when both are queued.
TEST(SonglistWindow, TheOpenSongJoinsTheListWhichIsSavedAndRepeatIsClearedWhenTwoAreQueued) {
    WindowRig rig;
    TempFolder folder;
    const std::string song = folder.File("blues.vxa");
    std::filesystem::copy_file(chordella::testing::AssetsFolder() + "/songs/blues.vxa", song);
    ASSERT_TRUE(rig.Read([&song](desktop::DesktopCore& core) { return core.OpenSong(song); }));
    rig.Host().Stop();
    auto* window = TopLevel<ui::SonglistWindow>("SonglistWindow");
    ASSERT_NE(window, nullptr);
    window->show();
    auto* list = window->findChild<QListWidget*>("SongEntries");
    if (list->count() > 0) {
        rig.Prompter().AnswerYes();
        window->findChild<QPushButton*>("NewClearButton")->click();
        ASSERT_TRUE(rig.WaitFor([&] { return list->count() == 0; }));
    }
    const auto add = [&](int entries) {
        rig.Prompter().AnswerYes();
        window->findChild<QPushButton*>("AddButton")->click();
        return rig.WaitFor([&] { return list->count() == entries; });
    };
    ASSERT_TRUE(add(1));
    ASSERT_EQ(rig.Read([](desktop::DesktopCore& core) { return core.ReadSonglist().Rows.size(); }), 1u);

    // "Save" asks for a file when the list has none; the line holds the song's path.
    const std::string listFile = folder.File("gig.vxl");
    rig.Prompter().AnswerText(listFile);
    window->findChild<QPushButton*>("SaveButton")->click();
    ASSERT_TRUE(rig.WaitFor([&] { return std::filesystem::exists(listFile); }));
    EXPECT_NE(ReadTextFile(listFile).find(song), std::string::npos) << ReadTextFile(listFile);

    list->setCurrentRow(0);
    rig.Prompter().AnswerYes();
    window->findChild<QPushButton*>("DeleteButton")->click();
    ASSERT_TRUE(rig.WaitFor([&] { return list->count() == 0; }));
    EXPECT_TRUE(rig.Prompter().Shown().back().starts_with("Delete \"")) << rig.Prompter().Shown().back();

    ASSERT_TRUE(add(1));
    ASSERT_TRUE(add(2));
    auto repeatTicked = [&rig] { return rig.Read([](desktop::DesktopCore& core) { return core.ReadSonglist().Repeat; }); };
    auto* repeat = window->findChild<QCheckBox*>("RepeatBox");
    ASSERT_NE(repeat, nullptr);
    repeat->click();
    ASSERT_TRUE(rig.WaitFor(repeatTicked));
    // "Use MCI" shows the setting (on by default) and a click turns it off in the core.
    auto* useMci = window->findChild<QCheckBox*>("UseMciBox");
    ASSERT_NE(useMci, nullptr);
    EXPECT_TRUE(useMci->isChecked());
    useMci->click();
    ASSERT_TRUE(rig.WaitFor([&rig] { return !rig.Options().UseMci; }));

    // Both songs queued and played: the player goes on to the second instead of repeating.
    ClickRow(list, 0);
    ClickRow(list, 1);
    ASSERT_TRUE(rig.WaitFor([&] { return window->findChild<QPushButton*>("PlayButton")->text() == "Play 2"; }));
    window->findChild<QPushButton*>("PlayButton")->click();
    ASSERT_TRUE(rig.WaitFor([&] { return !repeat->isChecked(); }));
    EXPECT_FALSE(repeatTicked());
    rig.Host().Songlist({desktop::SonglistAction::StopSet});
}

TEST(MidiCommandsWindow, AStoredCommandIsSentFromItsRowOnTheChosenPort) {
    WindowRig rig;
    rig.TriggerMenu("MIDI Commands ...");
    auto* window = rig.Window().findChild<ui::MidiCommandsWindow*>("MidiCommandsWindow");
    ASSERT_NE(window, nullptr);
    rig.Settle(2);
    const int port = window->Ports()->findText("Memory Out 3");
    ASSERT_GE(port, 0);
    window->Ports()->setCurrentIndex(port);
    emit window->Ports()->activated(port);
    // Command 4: "CC Momentary", channel 2, controller 64, value 127.
    window->TypeList(4)->setCurrentText("CC Momentary");
    window->Channel(4)->setValue(2);
    window->Value(4)->setValue(64);
    window->Data(4)->setValue(127);
    window->SetValues({});
    rig.Settle();
    rig.ClearSent(CommandsOutput);
    window->findChild<QPushButton*>("Send4")->click();
    rig.Settle();
    std::vector<std::uint32_t> sent;
    for (const midi::SentMessage& message : rig.Sent(CommandsOutput)) sent.push_back(message.Packed);
    EXPECT_EQ(sent, (std::vector<std::uint32_t>{0xB1 | 64 << 8 | 127 << 16, 0xB1 | 64 << 8}));
    for (QMessageBox* box : window->findChildren<QMessageBox*>()) box->close();
}

TEST(InstrumentsWindow, SetsAreOpenedAfterTheQuestionAndAKeyGivenAFunctionIsStoredAndRuns) {
    WindowRig rig;
    TempFolder folder;
    rig.TriggerMenu("Instruments ...");
    auto* window = rig.Window().findChild<ui::InstrumentsWindow*>("InstrumentsWindow");
    ASSERT_NE(window, nullptr);
    auto* sets = window->findChild<QComboBox*>("SetList");
    auto* keys = window->findChild<QListWidget*>("KeyList");
    auto* functions = window->findChild<QListWidget*>("FunctionList");
    auto click = [window](const char* name) { window->findChild<QPushButton*>(name)->click(); };
    ASSERT_TRUE(rig.WaitFor([&] { return keys->count() == 12 && functions->count() == 34; }));
    EXPECT_EQ(sets->itemText(10), "FX");
    EXPECT_EQ(sets->itemText(11), "L-S");

    // "FX" shows the function set of the second input on the keys.
    sets->setCurrentIndex(10);
    rig.Prompter().AnswerYes();
    click("OpenSet");
    ASSERT_TRUE(rig.WaitFor([&] { return keys->item(0)->text() == "01  Start/Stop"; })) << keys->item(0)->text().toStdString();
    EXPECT_TRUE(rig.Prompter().WasShown("Open function set for MIDI input ?"));
    // An empty set is refused.
    sets->setCurrentIndex(2);
    click("OpenSet");
    rig.Settle();
    EXPECT_TRUE(rig.Prompter().WasShown("Instrument- or Function set not found !"));

    // Set 1, key 3 given "Tempo +5", stored as set 3.
    sets->setCurrentIndex(0);
    rig.Prompter().AnswerYes();
    click("OpenSet");
    ASSERT_TRUE(rig.WaitFor([&] { return keys->item(0)->text() != "01  Start/Stop"; }));
    const QString instrument = keys->item(2)->text();
    keys->setCurrentRow(2);
    functions->setCurrentRow(9);
    EXPECT_EQ(functions->item(9)->text(), "Tempo +5");
    click("AssignFunction");
    ASSERT_TRUE(rig.WaitFor([&] { return keys->item(2)->text() == "03  Tempo +5"; }));
    sets->setCurrentIndex(2);
    rig.Prompter().AnswerYes();
    click("StoreSet");
    rig.Settle();
    EXPECT_TRUE(rig.Prompter().WasShown("Save Set as Instrument-Set No. 3 ?"));

    // Set 1 again, then set 3: the key has its function back, and it runs.
    sets->setCurrentIndex(0);
    rig.Prompter().AnswerYes();
    click("OpenSet");
    ASSERT_TRUE(rig.WaitFor([&] { return keys->item(2)->text() == instrument; }));
    sets->setCurrentIndex(2);
    rig.Prompter().AnswerYes();
    click("OpenSet");
    ASSERT_TRUE(rig.WaitFor([&] { return keys->item(2)->text() == "03  Tempo +5"; }));
    EXPECT_EQ(rig.Read([](desktop::DesktopCore& core) {
        const int before = core.State().clock.Tempo;
        core.Arranger().Remote().InstrumentKey(2);
        return core.State().clock.Tempo - before;
    }), 5);

    // "L-S" writes the keys' set text to a file.
    const std::string file = folder.File("set.txt");
    window->ChooseFile = [&file](bool) { return QString::fromStdString(file); };
    sets->setCurrentIndex(11);
    click("StoreSet");
    ASSERT_TRUE(rig.WaitFor([&] { return std::filesystem::exists(file); }));
    EXPECT_GE(ReadTextFile(file).size(), 39u);
}

}  // namespace
}  // namespace chordella::testing
