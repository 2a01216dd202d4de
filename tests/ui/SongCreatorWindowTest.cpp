// "Chordprogression / Song Creator" over the real host and core: a click in the
// progression list makes the song, the sheet shows it, the chord view opens and it plays.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "ui/ChordViewWindow.h"
#include "ui/SongCreatorWindow.h"
#include "ui/WindowRig.h"
#include "support/TestPaths.h"

namespace chordella::testing {
namespace {

template <typename T>
T* TopLevel(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name) return dynamic_cast<T*>(widget);
    }
    return nullptr;
}

void ClickEntry(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

TEST(SongCreatorWindow, AChosenProgressionBecomesTheSongAndPlaysAtOnceInTheChordView) {
    WindowRig rig;
    rig.Host().Barrier([](app::DesktopCore& core) {
        ASSERT_TRUE(core.OpenStyle(chordella::testing::AssetsFolder() + "/styles/bossa.vxs"));
    });
    auto* creator = TopLevel<ui::SongCreatorWindow>("SongCreator");
    auto* chordView = TopLevel<ui::ChordViewWindow>("ChordView");
    ASSERT_NE(creator, nullptr);
    ASSERT_NE(chordView, nullptr);
    creator->show();
    EXPECT_EQ(creator->windowTitle(), "Chordprogression / Song Creator");
    creator->findChild<QSpinBox*>("SongMeasures")->setValue(16);
    creator->findChild<QCheckBox*>("RandomKey")->setChecked(false);
    creator->findChild<QCheckBox*>("BaseChord")->setChecked(false);
    creator->findChild<QCheckBox*>("TempoVariations")->setChecked(false);
    for (auto* radio : creator->findChildren<QRadioButton*>()) {
        if (radio->text() == "Change chord always every measure") radio->setChecked(true);
    }

    auto* list = creator->findChild<QListWidget*>("ProgressionList");
    ASSERT_EQ(list->count(), 110);
    ClickEntry(list, 10);  // "000. 50's Progression --- SECTION 1"
    ASSERT_TRUE(QTest::qWaitFor([&] { return !creator->SheetText().isEmpty(); }, 30000));
    EXPECT_TRUE(creator->SheetText().startsWith("   1  I              C maj")) << creator->SheetText().toStdString();
    EXPECT_EQ(creator->ProgressionText(), "Progr. 0-0-0-0");
    EXPECT_TRUE(chordView->isVisible());
    EXPECT_EQ(chordView->SongInfoText(), "Progr. 0-0-0-0   Bars: 4-4-4-4");
    // It plays: the position runs and the song is in the chord memory.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Host().Snapshot().Measure > 0; }, 30000));
    int length = 0;
    rig.Host().Barrier([&](app::DesktopCore& core) { length = core.GetSession().App().arrangement.Chords.ChordMemoryLength; });
    EXPECT_EQ(length, 4 + 18 * 16);
}

TEST(SongCreatorWindow, TheChordViewsCommandsMakeASongWithTheWindowsOptions) {
    WindowRig rig;
    auto* creator = TopLevel<ui::SongCreatorWindow>("SongCreator");
    auto* chordView = TopLevel<ui::ChordViewWindow>("ChordView");
    ASSERT_NE(chordView, nullptr);
    chordView->show();
    chordView->findChild<QPushButton*>("GenerateMixed")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !creator->SheetText().isEmpty(); }, 30000));
    EXPECT_TRUE(chordView->SongInfoText().startsWith("Progr. ")) << chordView->SongInfoText().toStdString();
    const QString mixed = creator->SheetText();
    chordView->findChild<QPushButton*>("GenerateRandom")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return creator->SheetText() != mixed; }, 30000));
    EXPECT_TRUE(creator->ProgressionText().isEmpty());
}

TEST(SongCreatorWindow, RangeLimitsAreAskedAndAWrongNumberIsRefused) {
    WindowRig rig;
    auto* creator = TopLevel<ui::SongCreatorWindow>("SongCreator");
    ASSERT_NE(creator, nullptr);
    creator->show();
    rig.Prompter().AnswerText("120");
    ClickEntry(creator->findChild<QListWidget*>("ProgressionList"), 7);
    rig.Settle();
    EXPECT_TRUE(rig.Prompter().WasShown("Set range of progressions ...: Specify the lower range limit number ..."));
    EXPECT_TRUE(rig.Prompter().WasShown("Wrong lower range limit number !"));
    // Setting a limit makes no song.
    EXPECT_TRUE(creator->SheetText().isEmpty());
}

TEST(SongCreatorWindow, SimpleSongsSetTheirOptions) {
    WindowRig rig;
    auto* creator = TopLevel<ui::SongCreatorWindow>("SongCreator");
    ASSERT_NE(creator, nullptr);
    creator->findChild<QPushButton*>("SimpleSongs")->click();
    const composer::SongCreatorOptions options = creator->ShownOptions();
    EXPECT_FALSE(options.SeventhChords);
    EXPECT_FALSE(options.SusChords);
    EXPECT_TRUE(options.RandomKey);
    EXPECT_EQ(options.Keys, composer::KeyChoice::MajorAndParallelMinor);
    EXPECT_TRUE(options.SimpleSongs);
    EXPECT_EQ(ui::ParseMeasureList("3, 5-7, x, 9-8"), (std::vector<int>{3, 5, 6, 7}));
}

}  // namespace
}  // namespace chordella::testing
