// "Style-Creator & Chord-Generator" over the real host and core: opened from the Style menu,
// a work file loaded, a part set with its question answered, the chained parts shown, and
// the event editor stepping to the first note.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>

#include "data/CreatorWorkWriter.h"
#include "data/WorkFile.h"
#include "ui/StyleCreatorWindow.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

// Eight measures of 4/4 with a note (key 60 + beat) on every beat.
std::string WriteWork(const std::string& folder) {
    data::CreatorWork work;
    data::EnsureWorkChunks(work, 1);
    data::ClearWorkMaterial(work);
    data::CreatorWorkWriter w(&work, {});
    for (int m = 0; m < 8; ++m)
        for (int beat = 0; beat < 4; ++beat) {
            w.Message(0x90, static_cast<std::uint8_t>(60 + beat), 100);
            w.Waits(12);
            w.Message(0x90, static_cast<std::uint8_t>(60 + beat), 0);
            w.Waits(12);
        }
    w.Finish();
    work.WorkLength = work.Chunks[0].Size;
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
    for (QMenu* menu : rig.Window().menuBar()->findChildren<QMenu*>()) {
        if (menu->objectName() != "StyleMenu") continue;
        for (QAction* action : menu->actions())
            if (action->text() == "Style-&Creator ...") action->trigger();
    }
    rig.Settle();
    return rig.Window().findChild<ui::StyleCreatorWindow*>("StyleCreatorWindow");
}

// Requests go to the control thread and their views come back queued.
void Settle(WindowRig& rig) {
    rig.Settle();
    rig.Settle();
}

TEST(StyleCreatorWindow, ALoadedWorkGetsItsBasicWithTheChainedPartsAndTheEventEditorShowsItsNotes) {
    WindowRig rig;
    TempFolder folder;
    const std::string path = WriteWork(folder.Path());
    ui::StyleCreatorWindow* creator = OpenCreator(rig);
    ASSERT_NE(creator, nullptr);
    EXPECT_TRUE(creator->windowTitle().startsWith("Style-Creator & Chord-Generator"));

    creator->Send(app::CreatorRequest::LoadWork, [&](app::CreatorRequest& r) { r.Path = path; });
    Settle(rig);
    EXPECT_TRUE(creator->windowTitle().endsWith("GROOVE.VXW"));

    creator->findChild<QCheckBox*>("StyleMode")->click();
    Settle(rig);
    EXPECT_FALSE(creator->findChild<QCheckBox*>("SongMode")->isChecked());
    auto* parts = creator->findChild<QListWidget*>("PartList");
    parts->setCurrentRow(1);
    creator->findChild<QSpinBox*>("PartStart")->setValue(1);
    creator->findChild<QSpinBox*>("PartEnd")->setValue(4);
    rig.Prompter().AnswerYes();
    creator->findChild<QPushButton*>("SetPart")->click();
    Settle(rig);
    EXPECT_TRUE(rig.Prompter().WasShown("Set as \" Basic \" ?"));
    EXPECT_EQ(parts->item(1)->text(), " Basic  1 - 4");
    EXPECT_EQ(parts->item(6)->text(), " To Extended  4 - 4");
    EXPECT_EQ(parts->item(4)->text(), " Fill in Basic  4 - 4");

    // Setting a part plays it; stopped, the editor opens at the start of the range.
    creator->findChild<QPushButton*>("CreatorStop")->click();
    creator->findChild<QPushButton*>("OpenEvents")->click();
    Settle(rig);
    EXPECT_EQ(creator->findChild<QLabel*>("EventName")->text(), "C 5");
    creator->findChild<QPushButton*>("EventNext")->click();
    Settle(rig);
    EXPECT_EQ(creator->findChild<QLabel*>("EventName")->text(), "C# 5");

    // The main window's item names the mode it switches to, and the creator window follows.
    auto* mode = rig.Window().findChild<QAction*>("CreatorModeAction");
    ASSERT_NE(mode, nullptr);
    mode->trigger();
    Settle(rig);
    Settle(rig);
    EXPECT_EQ(mode->text(), "Style-&Mode");
    EXPECT_TRUE(creator->findChild<QCheckBox*>("SongMode")->isChecked());
    mode->trigger();
    Settle(rig);
    Settle(rig);
    EXPECT_EQ(mode->text(), "Song-&Mode");
    EXPECT_TRUE(creator->findChild<QCheckBox*>("StyleMode")->isChecked());
}

}  // namespace
}  // namespace chordella::testing
