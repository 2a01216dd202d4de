#include "ui/SonglistWindow.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

using A = desktop::SonglistAction;

class SonglistWindowTest : public ::testing::Test {
protected:
    SonglistWindowTest() {
        view.Caption = "Songlist - GIG.VXL";
        view.PlayCaption = "Play 2";
        view.Rows = {
            {"Opener", "/songs/a.vxa", ""}, {"Ballad", "/songs/b.vxa", "mutes 10"}, {"Closer", "/songs/c.mid", ""}};
        view.Queue = {2, 0};
        view.NextTitle = "Closer";
        link.ShownSonglist = view;
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        link.Shown.SonglistSerial = 1;
        window.Refresh(link.Shown);
    }
    QPoint RowCentre(int row) { return window.List()->visualItemRect(window.List()->item(row)).center(); }
    std::vector<A> Actions() const {
        std::vector<A> actions;
        for (const auto& r : link.SonglistRequests) actions.push_back(r.Action);
        return actions;
    }

    QApplication& app = testing::QtTestApp();  // before any widget
    testing::RecordingCoreLink link;
    desktop::SonglistView view;
    SonglistWindow window{link};
};

TEST_F(SonglistWindowTest, ShowsTheListTheQueueAndTheNextSongAndAClickQueuesADoubleClickOrEnterPlays) {
    EXPECT_EQ(window.windowTitle(), "Songlist - GIG.VXL");
    ASSERT_EQ(window.List()->count(), 3);
    EXPECT_TRUE(window.List()->item(1)->text().contains("[mutes 10]"));
    EXPECT_EQ(window.findChild<QLabel*>("PlayQueue")->text(), "Queue: Closer, Opener");
    EXPECT_EQ(window.findChild<QLabel*>("NextSong")->text(), "Next: Closer");

    // A double click and Enter play at once (a click queueing runs over the real core in
    // LibraryWindowsTest).
    QTest::mouseClick(window.List()->viewport(), Qt::LeftButton, {}, RowCentre(2));  // a double-click's first click
    QTest::mouseDClick(window.List()->viewport(), Qt::LeftButton, {}, RowCentre(2));
    window.List()->setCurrentRow(0);
    QTest::keyClick(window.List(), Qt::Key_Return);
    ASSERT_GE(link.SonglistRequests.size(), 2u);
    const auto& last = link.SonglistRequests.back();
    EXPECT_EQ(last.Action, A::PlayNow);
    EXPECT_EQ(last.Index, 0);
    bool doubleClicked = false;
    for (const auto& r : link.SonglistRequests) doubleClicked |= r.Action == A::PlayNow && r.Index == 2;
    EXPECT_TRUE(doubleClicked);
}

TEST_F(SonglistWindowTest, SingleKeysOfAFootSwitchStartSkipAndGoBackAndAMovedEntryMovesInTheCore) {
    link.SonglistRequests.clear();
    QTest::keyClick(window.List(), Qt::Key_PageDown);
    QTest::keyClick(window.List(), Qt::Key_Right);
    QTest::keyClick(window.List(), Qt::Key_PageUp);
    QTest::keyClick(window.List(), Qt::Key_Space);
    EXPECT_EQ(Actions(), (std::vector<A>{A::Next, A::Next, A::Previous}));
    EXPECT_EQ(link.CallsStartingWith("StartStop").size(), 1u);

    // An entry moved in the list is moved in the core.
    link.SonglistRequests.clear();
    QAbstractItemModel* model = window.List()->model();
    ASSERT_TRUE(model->moveRow(QModelIndex(), 0, QModelIndex(), 3));  // the first to the end
    ASSERT_EQ(link.SonglistRequests.size(), 1u);
    EXPECT_EQ(link.SonglistRequests[0].Action, A::Move);
    EXPECT_EQ(link.SonglistRequests[0].Index, 0);
    EXPECT_EQ(link.SonglistRequests[0].To, 2);
}

}  // namespace
}  // namespace chordella::ui
