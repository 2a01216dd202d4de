// "BATCH PROCESSOR ...": reached from the style creator's menu, its modes by their menu
// texts, the requests its buttons send, and the run's progress as the core reports it.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

#include "ui/BatchWindow.h"
#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"
#include "ui/StyleCreatorWindow.h"

namespace chordella::testing {
namespace {

// The core's side: every request is kept and answered with the view the test set.
class BatchLink : public RecordingCoreLink {
public:
    std::vector<desktop::BatchRequest> Requests;
    desktop::BatchView Answer;
    void BatchCommand(const desktop::BatchRequest& request, std::function<void(const desktop::BatchView&)> done) override {
        Requests.push_back(request);
        if (done) done(Answer);
    }
    std::vector<desktop::BatchRequest> Starts() const {
        std::vector<desktop::BatchRequest> starts;
        for (const auto& request : Requests)
            if (request.What == desktop::BatchRequest::Start) starts.push_back(request);
        return starts;
    }
};

TEST(BatchWindow, TheStyleCreatorsMenuItemListsTheModesAndStartsTheOneChosenInTheWindow) {
    QtTestApp();
    BatchLink link;
    ui::StyleCreatorWindow creator(link);
    auto* menu = creator.findChild<QMenu*>("BatchMenu");
    ASSERT_NE(menu, nullptr);
    // The window lists the modes under the captions of the menu's items, in the same order.
    QStringList items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) items << action->text();
    ASSERT_GE(items.size(), 8);
    EXPECT_EQ(items[2], "Check all *.vxs styles");
    menu->actions()[2]->trigger();
    auto* window = creator.findChild<ui::BatchWindow*>("BatchWindow");
    ASSERT_NE(window, nullptr);
    auto* list = window->findChild<QListWidget*>("BatchModes");
    ASSERT_EQ(list->count(), 8);
    for (int row = 0; row < 8; ++row) EXPECT_EQ(list->item(row)->text(), items[row]);
    ASSERT_EQ(link.Starts().size(), 1u);
    EXPECT_EQ(link.Starts()[0].Mode, app::BatchMode::Check);

    list->setCurrentRow(0);
    window->findChild<QCheckBox*>("AskDescription")->setChecked(true);
    window->findChild<QPushButton*>("StartBatch")->click();
    ASSERT_EQ(link.Starts().size(), 2u);
    EXPECT_EQ(link.Starts()[1].Mode, app::BatchMode::Convert);
    EXPECT_TRUE(link.Starts()[1].AskDescription);
}

TEST(BatchWindow, ProgressShowsCountFileAndErrorsAndOnlyCancelWorksDuringARun) {
    QtTestApp();
    BatchLink link;
    ui::BatchWindow window(link);
    desktop::BatchView view;
    view.Running = true;
    view.ModeItem = "Check all *.vxs styles";
    view.FileCount = 5;
    view.Done = 2;
    view.Errors = 1;
    view.CurrentFile = "/styles/Pop b.vxs";
    window.ShowView(view);
    EXPECT_EQ(window.findChild<QProgressBar*>("BatchProgress")->maximum(), 5);
    EXPECT_EQ(window.findChild<QProgressBar*>("BatchProgress")->value(), 2);
    EXPECT_EQ(window.findChild<QLabel*>("FileCount")->text(), "File 2 of 5");
    EXPECT_EQ(window.findChild<QLabel*>("CurrentFile")->text(), "/styles/Pop b.vxs");
    EXPECT_EQ(window.findChild<QLabel*>("ErrorCount")->text(), "Errors: 1");
    EXPECT_FALSE(window.findChild<QPushButton*>("StartBatch")->isEnabled());
    auto* cancel = window.findChild<QPushButton*>("CancelBatch");
    EXPECT_TRUE(cancel->isEnabled());
    cancel->click();
    ASSERT_FALSE(link.Requests.empty());
    EXPECT_EQ(link.Requests.back().What, desktop::BatchRequest::Cancel);

    view.Running = false;
    view.Done = 5;
    view.Summary = "Done with 1 errors ! - It is recommended to restart \r\nChordella before the created styles are used !";
    window.ShowView(view);
    EXPECT_TRUE(window.findChild<QPushButton*>("StartBatch")->isEnabled());
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_TRUE(window.findChild<QLabel*>("BatchSummary")->text().startsWith("Done with 1 errors !"));
}

}  // namespace
}  // namespace chordella::testing
