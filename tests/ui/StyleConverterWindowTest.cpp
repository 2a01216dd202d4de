// "Styleconverter" over the real host and core: opened from the Styles page's button and
// from the Style menu, another maker's style opened with its "Open ..." button, a variations set
// chosen, and "Set Variations" making the playing style.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <filesystem>

#include "ui/StyleConverterWindow.h"
#include "ui/WindowRig.h"
#include "support/KeyboardStyleWriter.h"
#include "support/TempFolder.h"

namespace chordella::testing {
namespace {

ui::StyleConverterWindow* OpenConverter(WindowRig& rig) {
    rig.TriggerMenu("     -> Open styleconverter for *.sty, *.prs, *.bcs etc. stylefiles");
    rig.Settle();
    return rig.Window().findChild<ui::StyleConverterWindow*>("StyleConverterWindow");
}

// Opened with the Styles page's button (the other tests open it from the Style menu).
TEST(StyleConverterWindow, TheStylesPagesButtonOpensItAnImportedStyleFillsTheListsAndSetVariationsConverts) {
    TempFolder folder;
    const std::string file = folder.File("Musette.S750.prs");
    ASSERT_TRUE(SampleKeyboardStyle({.Numerator = 3}).Write(file));
    WindowRig rig;
    rig.Window().ShowPanels(1, true, true);
    auto* button = rig.Window().findChild<QPushButton*>("OpenConverter");
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    rig.Settle();
    auto* converter = rig.Window().findChild<ui::StyleConverterWindow*>("StyleConverterWindow");
    ASSERT_NE(converter, nullptr);
    EXPECT_TRUE(converter->isVisible());

    // "Open ..." chooses the file.
    QString startedIn;
    AnswerNextFileDialog([&](QFileDialog& dialog) {
        startedIn = dialog.directory().absolutePath();
        return QString::fromStdString(file);
    });
    QTest::mouseClick(converter->findChild<QPushButton*>("ConverterOpen"), Qt::LeftButton);
    rig.Settle(2);
    EXPECT_EQ(QDir(startedIn).canonicalPath(), QDir(QString::fromStdString(rig.Host().StylesFolder())).canonicalPath())
        << "the dialog starts in the styles folder";
    auto* basic = converter->findChild<QComboBox*>("ConverterList0");
    auto* extended = converter->findChild<QComboBox*>("ConverterList1");
    ASSERT_GE(basic->count(), 2);
    EXPECT_TRUE(basic->itemText(0).startsWith("Main A : "));
    EXPECT_EQ(extended->currentIndex(), 1);

    converter->findChild<QComboBox*>("ConverterSets")->setCurrentIndex(5);   // set No. 6: Extended is entry 0
    rig.Settle(2);
    EXPECT_EQ(extended->currentIndex(), 0);
    EXPECT_EQ(basic->currentIndex(), 1);

    converter->findChild<QPushButton*>("SetVariations")->click();
    rig.Settle(2);
    const QString report = converter->findChild<QPlainTextEdit*>("ConverterReport")->toPlainText();
    EXPECT_TRUE(report.contains("Basic : Main B")) << report.toStdString();
    EXPECT_TRUE(report.contains("Extended : Main A")) << report.toStdString();
    EXPECT_FALSE(converter->isVisible());
}

TEST(StyleMenuRules, TheChannelRuleItemsShowTheCoresStateAndChangeIt) {
    WindowRig rig;
    QMenu* style = rig.Window().menuBar()->findChild<QMenu*>("StyleMenu");
    ASSERT_NE(style, nullptr);
    auto item = [style](const QString& text) { return ActionIn(style, text); };
    for (const char* caption : {"Bass on channel 11", "Mute BASS", "Normalize Volume"})
        ASSERT_NE(item(caption), nullptr) << caption;
    QMetaObject::invokeMethod(style, "aboutToShow");
    rig.Settle(2);
    EXPECT_TRUE(item("Normalize Volume")->isChecked());   // on by default
    EXPECT_FALSE(item("Bass on channel 11")->isChecked());

    item("Bass on channel 11")->trigger();
    item("Mute BASS")->trigger();
    const app::StyleRulesView view = rig.Read([](desktop::DesktopCore& core) { return core.StyleRules({}); });
    EXPECT_TRUE(view.BassOnChannel11);
    EXPECT_TRUE(view.MuteBass);
    EXPECT_TRUE(rig.Options().BassOutputOnChannel11);
}

// The measures of the playing style's Extended part and the set item the settings hold.
struct PlayingSet {
    int ExtendedMeasures = 0;
    bool Native = false;
    int SettingsItem = -1;
};

PlayingSet Playing(WindowRig& rig) {
    return rig.Read([](desktop::DesktopCore& core) {
        const data::StyleState& style = core.GetSession().Style().style;
        return PlayingSet{style.Parts[2].LengthMeasures, style.Native.Present, core.CurrentOptions().ConverterSet};
    });
}

// Another maker's style opened plays the variations set the Style menu chose, and the
// converter shows the same set; converted the usual way it plays as ours do, and the native
// mode writes styles that keep their channel rules.
TEST(StyleMenuVariationsSet, AnotherMakersStylePlaysTheSetChosenTheConverterShowsItAndItsNativeModeKeepsTheRules) {
    TempFolder folder;
    const std::string file = folder.File("Four.sty");
    ASSERT_TRUE(SampleKeyboardStyle().Write(file));   // Main A, B: 4 measures; Main C, D: 2
    WindowRig rig;
    QAction* set2 = MenuItem(rig.Window(), "VariationsSetMenu", "Style variations set No. 2");
    QAction* set1 = MenuItem(rig.Window(), "VariationsSetMenu", "Style variations set No. 1");
    ASSERT_NE(set2, nullptr);
    ASSERT_NE(set1, nullptr);
    QMetaObject::invokeMethod(rig.Window().findChild<QMenu*>("StyleMenu"), "aboutToShow");
    rig.Settle(2);
    EXPECT_TRUE(set1->isChecked()) << "set 1 unless chosen otherwise";

    set2->trigger();
    rig.Settle();
    EXPECT_TRUE(set2->isChecked());
    rig.Host().OpenStyle(file);   // what the style browser and Style > Open send
    rig.Settle(2);
    PlayingSet playing = Playing(rig);
    EXPECT_TRUE(playing.Native) << "it plays by its channel table";
    EXPECT_EQ(playing.ExtendedMeasures, 2) << "set 2 takes Main D for Extended";
    EXPECT_EQ(playing.SettingsItem, 1);

    // Another set while the style is loaded: it plays with that one at once.
    set1->trigger();
    rig.Settle(2);
    playing = Playing(rig);
    EXPECT_EQ(playing.ExtendedMeasures, 4) << "set 1 takes Main B for Extended";
    EXPECT_EQ(playing.SettingsItem, 0);

    set2->trigger();
    rig.Settle();
    ui::StyleConverterWindow* converter = OpenConverter(rig);
    ASSERT_NE(converter, nullptr);
    rig.Settle();
    EXPECT_EQ(converter->findChild<QComboBox*>("ConverterSets")->currentIndex(), 1) << "one setting, two places";

    // Converted the usual way, the style plays as ours do: no rules left from the one before.
    converter->ImportFile(file);
    rig.Settle(2);
    playing = Playing(rig);
    EXPECT_FALSE(playing.Native);
    EXPECT_EQ(playing.ExtendedMeasures, 2) << "the converter takes the same set";

    auto* mode = converter->findChild<QComboBox*>("ConverterMode");
    ASSERT_NE(mode, nullptr);
    ASSERT_EQ(mode->count(), 2);
    EXPECT_EQ(mode->currentIndex(), 0) << "the conversion as before unless chosen";
    mode->setCurrentIndex(mode->findText("Channel table (native)"));
    converter->findChild<QSpinBox*>("SetCount")->setValue(1);
    converter->findChild<QPushButton*>("CreateSets")->click();
    rig.Settle(2);

    // What the native file holds is NativeStyleFileTest's; here the mode chosen reaches the conversion.
    EXPECT_TRUE(std::filesystem::exists(rig.Host().StylesFolder() + "/Four-1.vxs"));
    EXPECT_TRUE(Playing(rig).Native) << "and the style written plays by them";
    EXPECT_TRUE(rig.Options().ConverterNative) << "the mode is kept in the settings";
}

}  // namespace
}  // namespace chordella::testing
