// "Style-Creator & Chord-Generator" over the real host and core: opened from the Style menu,
// a work file loaded, a part set with its question answered, the chained parts shown, the
// event editor stepping to the first note; the part flags kept through "Save Style as ..." and
// "Load Style"; "LoopStart" and "LoopEnd" marking the loop while the material plays; the
// menus that set parts at the playing measure, repair the fills and open "Style.src"; the
// pop-up's import options.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>

#include <cstdlib>
#include <filesystem>

#include "core/Options.h"
#include "core/Session.h"
#include "core/StyleContainer.h"
#include "data/WorkFile.h"
#include "support/CreatorMaterial.h"
#include "support/TextFiles.h"
#include "ui/StyleCreatorWindow.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

// Eight measures of 4/4 with a note (key 60 + beat) on every beat.
std::string WriteWork(const std::string& folder) {
    data::CreatorWork work;
    CreatorMaterial material;
    for (int beat = 0; beat < 8 * 4; ++beat) material.Note(0, 60 + beat % 4, beat * 24, 12);
    material.Into(work, 8 * 4 * 24);
    data::WorkFile file;
    data::TakeWorkMaterial(work, file);
    file.SetStyleMeter(16);
    file.WorkLengthUnits = 8 * 16;
    const std::string path = folder + "/groove.vxw";
    std::string error;
    EXPECT_TRUE(data::WriteWorkFile(path, file, error)) << error;
    return path;
}

ui::StyleCreatorWindow* OpenCreator(WindowRig& rig) {
    QAction* open = MenuItem(rig.Window(), "StyleMenu", "Style-&Creator ...");
    if (open != nullptr) open->trigger();
    rig.Settle();
    return rig.Window().findChild<ui::StyleCreatorWindow*>("StyleCreatorWindow");
}

QAction* BarItem(ui::StyleCreatorWindow* creator, const char* name) {
    for (QAction* action : creator->findChild<QMenuBar*>("CreatorMenu")->actions())
        if (action->objectName() == name) return action;
    return nullptr;
}

data::StyleState StyleNow(WindowRig& rig) {
    data::StyleState copy;
    rig.Host().Barrier([&copy](desktop::DesktopCore& core) {
        const data::StyleState& style = core.GetSession().Style().style;
        copy.Header = style.Header;
        copy.Parts = style.Parts;
    });
    return copy;
}

// The work loaded, Style mode on and Basic set to `first` … `last` (the question answered Yes).
void BasicFromWork(WindowRig& rig, ui::StyleCreatorWindow* creator, const std::string& work, int first, int last) {
    creator->Send(desktop::CreatorRequest::LoadWork, [&](desktop::CreatorRequest& r) { r.Path = work; });
    rig.Settle(2);
    creator->findChild<QCheckBox*>("StyleMode")->click();
    rig.Settle(2);
    creator->findChild<QListWidget*>("PartList")->setCurrentRow(1);
    creator->findChild<QSpinBox*>("PartStart")->setValue(first);
    creator->findChild<QSpinBox*>("PartEnd")->setValue(last);
    rig.Prompter().AnswerYes();
    creator->findChild<QPushButton*>("SetPart")->click();
    rig.Settle(2);
    creator->findChild<QPushButton*>("CreatorStop")->click();
    rig.Settle(2);
}

TEST(StyleCreatorWindow, ALoadedWorkGetsItsBasicWithTheChainedPartsTheEventEditorShowsItsNotesAndTheMenusSetAndRepairParts) {
    WindowRig rig;
    TempFolder folder;
    ui::StyleCreatorWindow* creator = OpenCreator(rig);
    ASSERT_NE(creator, nullptr);
    BasicFromWork(rig, creator, WriteWork(folder.Path()), 1, 4);
    EXPECT_TRUE(creator->windowTitle().endsWith("GROOVE.VXW"));
    EXPECT_TRUE(rig.Prompter().WasShown("Set as \" Basic \" ?"));
    // The parts the setter chains to Basic (PartSetterTest) are listed with it.
    auto* parts = creator->findChild<QListWidget*>("PartList");
    EXPECT_EQ(parts->item(1)->text(), " Basic  1 - 4");
    EXPECT_EQ(parts->item(4)->text(), " Fill in Basic  4 - 4");

    // Stopped, the event editor opens at the start of the part.
    creator->findChild<QPushButton*>("OpenEvents")->click();
    rig.Settle(2);
    EXPECT_EQ(creator->findChild<QLabel*>("EventName")->text(), "C 5");
    creator->findChild<QPushButton*>("EventNext")->click();
    rig.Settle(2);
    EXPECT_EQ(creator->findChild<QLabel*>("EventName")->text(), "C# 5");

    // The main window's item names the mode it switches to, and the creator window follows.
    auto* mode = rig.Window().findChild<QAction*>("CreatorModeAction");
    ASSERT_NE(mode, nullptr);
    mode->trigger();
    rig.Settle(4);
    EXPECT_EQ(mode->text(), "Style-&Mode");
    EXPECT_TRUE(creator->findChild<QCheckBox*>("SongMode")->isChecked());
    mode->trigger();
    rig.Settle(4);
    EXPECT_TRUE(creator->findChild<QCheckBox*>("StyleMode")->isChecked());

    // "&Loop" → "2 measures": the loop field follows, and "&Extended" sets two measures from
    // the measure playing (the start, nothing plays).
    MenuItem(*creator, "LoopMenu", "2 measures")->trigger();
    rig.Settle(2);
    EXPECT_EQ(creator->findChild<QSpinBox*>("LoopMeasures")->value(), 2);
    EXPECT_TRUE(MenuItem(*creator, "LoopMenu", "2 measures")->isChecked());
    BarItem(creator, "ExtendedItem")->trigger();
    rig.Settle(2);
    EXPECT_EQ(parts->item(2)->text(), " Extended  1 - 2");
    // "Variation Basic" marks Fill in Basic as a variation.
    MenuItem(*creator, "OthersMenu", "Variation Basic")->trigger();
    rig.Settle(2);
    EXPECT_TRUE(creator->LastView().Parts[4].Variation);

    // "Repair style": Fill in Extended takes Fill in Basic's range.
    MenuItem(*creator, "RepairMenu", "Fills Var 1 -> Fills Var 2")->trigger();
    rig.Settle(2);
    const data::StyleState repaired = StyleNow(rig);
    EXPECT_EQ(repaired.Parts[5].StartMeasure, repaired.Parts[4].StartMeasure);
    EXPECT_EQ(repaired.Parts[5].EndMeasure, repaired.Parts[4].EndMeasure);

    // The structure file is made for the text editor when it is missing.
    QString opened;
    creator->OpenInEditor = [&opened](const QString& file) {
        opened = file;
        return true;
    };
    MenuItem(*creator, "CreateMenu", "Edit \"Style.src\" ...")->trigger();
    rig.Settle(2);
    ASSERT_FALSE(opened.isEmpty());
    EXPECT_TRUE(ReadTextFile(opened.toStdString()).find("[Basic_1]\nStart=0\nEnd=0") != std::string::npos);

    // The pop-up's import options are the core's options.
    QMenu* popup = creator->findChild<QMenu*>("CreatorPopup");
    ASSERT_NE(popup, nullptr);
    for (QAction* action : popup->actions())
        if (action->text() == "Don't get metrum from file" || action->text() == "Bass output on channel 11") action->trigger();
    rig.Settle(2);
    const core::Options options = rig.Options();
    EXPECT_TRUE(options.DontGetMetrumFromFile);
    EXPECT_TRUE(options.BassOutputOnChannel11);
}

TEST(StyleCreatorWindow, AStyleSavedWithItsPartFlagsComesBackTheSameThroughLoadStyle) {
    WindowRig rig;
    TempFolder folder;
    ui::StyleCreatorWindow* creator = OpenCreator(rig);
    ASSERT_NE(creator, nullptr);
    BasicFromWork(rig, creator, WriteWork(folder.Path()), 3, 6);
    constexpr std::size_t Basic = 1, FillInBasic = 4, Channel2 = 1, Drums = 9;

    // Basic cuts its notes; the other set parts (the chained fill and transition) take it over.
    creator->findChild<QCheckBox*>("CutNotes")->click();
    rig.Settle(2);
    EXPECT_TRUE(creator->findChild<QCheckBox*>("CutNotes")->isChecked());
    creator->findChild<QPushButton*>("CutNotesToAll")->click();
    // Channel 2 muted in the main window becomes every part's muting.
    rig.Host().SetChannelMute(static_cast<int>(Channel2), true);
    creator->findChild<QPushButton*>("MutingToAll")->click();
    creator->findChild<QCheckBox*>("SuppressControllers")->click();
    rig.Settle(2);
    data::StyleState made = StyleNow(rig);
    EXPECT_EQ(made.Parts[FillInBasic].CutNotes, made.Parts[Basic].CutNotes);
    EXPECT_EQ(made.Parts[Basic].CutNotes[Channel2], 1);
    EXPECT_EQ(made.Parts[Basic].CutNotes[Drums], 0);
    EXPECT_EQ(made.Parts[FillInBasic].PartMute[Channel2], 1);
    EXPECT_EQ(made.Header.SuppressControllers, 1);

    const std::string saved = folder.Path() + "/made.vxs";
    creator->Send(desktop::CreatorRequest::SaveStyle, [&](desktop::CreatorRequest& r) { r.Path = saved; });
    rig.Settle(2);
    ASSERT_TRUE(std::filesystem::exists(saved));

    // Basic cleared, the flag off: "Load Style" brings the saved style back.
    rig.Prompter().AnswerYes();
    creator->findChild<QPushButton*>("ClearPart")->click();
    creator->findChild<QCheckBox*>("SuppressControllers")->click();
    rig.Settle(2);
    ASSERT_FALSE(StyleNow(rig).Parts[Basic].Present());
    rig.Prompter().AnswerText(saved);
    creator->findChild<QPushButton*>("LoadStyle")->click();
    rig.Settle(4);
    // The file keeps every flag (StyleStoreTest saves and loads byte for byte); the window
    // shows what came back.
    EXPECT_EQ(StyleNow(rig).Parts[Basic].CutNotes, made.Parts[Basic].CutNotes);
    EXPECT_TRUE(creator->findChild<QCheckBox*>("SuppressControllers")->isChecked());
    EXPECT_EQ(creator->findChild<QListWidget*>("PartList")->item(1)->text(), " Basic  3 - 6");
}

// The measure the creator's display shows (its view is read again every half second).
int ShownMeasure(WindowRig& rig, ui::StyleCreatorWindow* creator) {
    creator->Refresh();
    rig.Settle(2);
    return std::atoi(creator->LastView().MeasureBeat.c_str());
}

TEST(StyleCreatorWindow, LoopStartAndLoopEndMarkTheMeasuresPlayingAsTheLoopInStyleMode) {
    WindowRig rig;
    TempFolder folder;
    ui::StyleCreatorWindow* creator = OpenCreator(rig);
    ASSERT_NE(creator, nullptr);
    creator->Send(desktop::CreatorRequest::LoadWork, [&](desktop::CreatorRequest& r) { r.Path = WriteWork(folder.Path()); });
    rig.Settle(2);
    auto* loopStart = creator->findChild<QPushButton*>("LoopStart");
    auto* loopEnd = creator->findChild<QPushButton*>("LoopEnd");
    ASSERT_NE(loopStart, nullptr);
    ASSERT_NE(loopEnd, nullptr);
    EXPECT_FALSE(loopStart->isEnabled()) << "Song mode";
    creator->findChild<QCheckBox*>("StyleMode")->click();
    rig.Settle(2);
    ASSERT_TRUE(loopStart->isEnabled());

    creator->findChild<QPushButton*>("CreatorPlay")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ShownMeasure(rig, creator) == 2; }, 30000));
    loopStart->click();
    rig.Settle(2);
    EXPECT_EQ(creator->LastView().StyleRange.StartMeasure, 2);
    EXPECT_EQ(creator->findChild<QSpinBox*>("StartMeasure")->value(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ShownMeasure(rig, creator) == 3; }, 30000));
    loopEnd->click();
    rig.Settle(2);
    EXPECT_EQ(creator->LastView().StyleRange.StopMeasure, 3);
    EXPECT_EQ(creator->findChild<QSpinBox*>("StopMeasure")->value(), 3);
    // That the range then loops is the creator player's (stylecreator/CreatorPlayerTest).
    creator->findChild<QPushButton*>("CreatorStop")->click();
    rig.Settle(2);
}

}  // namespace
}  // namespace chordella::testing
