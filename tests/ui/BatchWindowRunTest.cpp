// The batch window over the real host and core: "Create random chord progressions" from the
// style creator's menu makes its songs on the control thread while the window goes on
// answering, and they arrive in the songlist.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>

#include "desktop/DesktopSonglist.h"
#include "library/Songlist.h"
#include "ui/BatchWindow.h"
#include "ui/StyleCreatorWindow.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

TEST(BatchWindowRun, RandomSongsFromTheCreatorsMenuArriveInTheSonglistAndTheSummaryShows) {
    WindowRig rig;
    rig.TriggerMenu("Style-&Creator ...");
    rig.Settle();
    auto* creator = rig.Window().findChild<ui::StyleCreatorWindow*>("StyleCreatorWindow");
    ASSERT_NE(creator, nullptr);

    rig.Prompter().AnswerText("3");
    rig.Prompter().AnswerNo();  // the songlist is cleared first
    for (QAction* action : creator->findChild<QMenu*>("BatchMenu")->actions())
        if (action->text() == "Create random chord progressions") action->trigger();
    auto* window = creator->findChild<ui::BatchWindow*>("BatchWindow");
    ASSERT_NE(window, nullptr);
    auto* summary = window->findChild<QLabel*>("BatchSummary");
    // The run goes on between the window's events; it waits here with a generous time-out.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !summary->text().isEmpty(); }, 60000));
    EXPECT_EQ(summary->text(), "3 of 3 songs added to the songlist, 0 errors");
    EXPECT_EQ(window->findChild<QLabel*>("FileCount")->text(), "File 3 of 3");

    // The songs' files and names are the batch's (app/BatchSongsTest); here they reach the list.
    EXPECT_EQ(rig.Read([](desktop::DesktopCore& core) { return core.SonglistPanel().List().Entries().size(); }), 3u);
}

}  // namespace
}  // namespace chordella::testing
