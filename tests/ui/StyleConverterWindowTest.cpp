// "Styleconverter" over the real host and core: opened from the Styles page's button and
// from the Style menu, a corpus style opened with its "Open ..." button, a variations set
// chosen, and "Set Variations" making the playing style.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>

#include "support/TestPaths.h"
#include "ui/StyleConverterWindow.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

ui::StyleConverterWindow* OpenConverter(WindowRig& rig) {
    for (QMenu* menu : rig.Window().menuBar()->findChildren<QMenu*>()) {
        if (menu->objectName() != "StyleMenu") continue;
        for (QAction* action : menu->actions())
            if (action->text() == "     -> Open styleconverter for *.sty, *.prs, *.bcs etc. stylefiles") action->trigger();
    }
    rig.Settle();
    return rig.Window().findChild<ui::StyleConverterWindow*>("StyleConverterWindow");
}

TEST(StyleConverterWindow, TheStylesPagesConverterButtonOpensIt) {
    WindowRig rig;
    rig.Window().ShowPanels(1, true, true);
    auto* button = rig.Window().findChild<QPushButton*>("OpenConverter");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), "Open Styleconverter");
    QTest::mouseClick(button, Qt::LeftButton);
    rig.Settle();
    auto* converter = rig.Window().findChild<ui::StyleConverterWindow*>("StyleConverterWindow");
    ASSERT_NE(converter, nullptr);
    EXPECT_TRUE(converter->isVisible());
    EXPECT_EQ(converter->windowTitle(), "Styleconverter");
}

TEST(StyleConverterWindow, AnImportedStyleFillsTheListsAndSetVariationsConvertsTheChosenSet) {
    const char* corpus = std::getenv("CHORDELLA_CORPUS");
    const std::string file =
        std::string(corpus && *corpus ? corpus : chordella::testing::DefaultCorpusFolder()) + "/styles/FrenchMusette.S750.prs";
    if (!std::filesystem::exists(file)) GTEST_SKIP() << "no corpus";
    WindowRig rig;
    ui::StyleConverterWindow* converter = OpenConverter(rig);
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(converter->windowTitle(), "Styleconverter");

    // "Open ..." chooses the file.
    QString startedIn;
    AnswerNextFileDialog([&](QFileDialog& dialog) {
        startedIn = dialog.directory().absolutePath();
        return QString::fromStdString(file);
    });
    QTest::mouseClick(converter->findChild<QPushButton*>("ConverterOpen"), Qt::LeftButton);
    rig.Settle();
    rig.Settle();
    EXPECT_EQ(QDir(startedIn).canonicalPath(), QDir(QString::fromStdString(rig.Host().StylesFolder())).canonicalPath())
        << "the dialog starts in the styles folder";
    auto* basic = converter->findChild<QComboBox*>("ConverterList0");
    auto* extended = converter->findChild<QComboBox*>("ConverterList1");
    ASSERT_GE(basic->count(), 2);
    EXPECT_TRUE(basic->itemText(0).startsWith("Main A : "));
    EXPECT_EQ(extended->currentIndex(), 1);

    converter->findChild<QComboBox*>("ConverterSets")->setCurrentIndex(5);   // set No. 6: Extended is entry 0
    rig.Settle();
    rig.Settle();
    EXPECT_EQ(extended->currentIndex(), 0);
    EXPECT_EQ(basic->currentIndex(), 1);

    converter->findChild<QPushButton*>("SetVariations")->click();
    rig.Settle();
    rig.Settle();
    const QString report = converter->findChild<QPlainTextEdit*>("ConverterReport")->toPlainText();
    EXPECT_TRUE(report.contains("Basic : Main B")) << report.toStdString();
    EXPECT_TRUE(report.contains("Extended : Main A")) << report.toStdString();
    EXPECT_FALSE(converter->isVisible());
}

TEST(StyleMenuRules, TheChannelRuleItemsShowTheCoresStateAndChangeIt) {
    WindowRig rig;
    QMenu* style = rig.Window().menuBar()->findChild<QMenu*>("StyleMenu");
    ASSERT_NE(style, nullptr);
    auto item = [style](const QString& text) -> QAction* {
        for (QAction* action : style->actions())
            if (action->text() == text) return action;
        return nullptr;
    };
    for (const char* caption : {"Bass on channel 11", "Mute BASS", "Mute GUITARS", "Dampen GUITARS && STRINGS",
                                "Solo on channel 1", "Normalize Volume", "Reverb off", "Reverb defined",
                                "Normalize volume", "Restore volume"})
        EXPECT_NE(item(caption), nullptr) << caption;
    QMetaObject::invokeMethod(style, "aboutToShow");
    rig.Settle();
    rig.Settle();
    EXPECT_TRUE(item("Normalize Volume")->isChecked());   // on by default
    EXPECT_FALSE(item("Bass on channel 11")->isChecked());

    item("Bass on channel 11")->trigger();
    item("Mute BASS")->trigger();
    rig.Settle();
    app::StyleRulesView view;
    rig.Host().Barrier([&view](desktop::DesktopCore& core) { view = core.StyleRules({}); });
    EXPECT_TRUE(view.BassOnChannel11);
    EXPECT_TRUE(view.MuteBass);
    bool optionSet = false;
    rig.Host().Barrier([&optionSet](desktop::DesktopCore& core) { optionSet = core.CurrentOptions().BassOutputOnChannel11; });
    EXPECT_TRUE(optionSet);
}

}  // namespace
}  // namespace chordella::testing
