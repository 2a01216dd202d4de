#include "ui/StyleManagerWindow.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

using A = desktop::StyleManagerAction;

class StyleManagerWindowTest : public ::testing::Test {
protected:
    StyleManagerWindowTest() {
        desktop::StyleManagerView& view = link.ShownStyleManager;
        view.Serial = 1;
        view.Group = 7;  // Rock / Ballad
        view.Entries = {"ballad.vxs               Met: 4/4  Beat: 72  Tracks: 8  slow"};
        view.EntryPaths = {"/s/ballad.vxs"};
        view.SelectedEntry = 0;
        view.Info = "Met: 4/4  Beat: 72  Tracks: 8";
        view.Description = "slow";
        view.Folder = "/s";
        view.SubFolders = {"Latin"};
        view.Files = {"ballad.vxs", "waltz.vxs"};
        view.Mask = "*.vxs";
        view.MaskHint = "Currently listed: 2 files; Press \"Enter\" (you may use * and ?)";
        view.CountText = "2 files";
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    std::vector<A> Actions() const {
        std::vector<A> actions;
        for (const auto& r : link.StyleManagerRequests) actions.push_back(r.Action);
        return actions;
    }
    template <typename W> W* Child(const char* name) { return window.findChild<W*>(name); }

    QApplication& app = testing::QtTestApp();  // before any widget
    testing::RecordingCoreLink link;
    StyleManagerWindow window{link};
};

TEST_F(StyleManagerWindowTest, ShowsTheCoresCopyWithoutSendingItBackAndItsTreeButtonsAndMaskBoxSendRequests) {
    ASSERT_NE(window.Groups()->currentItem(), nullptr);
    EXPECT_EQ(window.Groups()->currentItem()->text(0), "Ballad");
    EXPECT_EQ(window.Groups()->currentItem()->parent()->text(0), "Rock");
    ASSERT_EQ(window.EntryList()->count(), 1);
    EXPECT_EQ(Child<QLineEdit>("DescriptionField")->text(), "slow");
    EXPECT_EQ(Child<QLabel>("InfoPanel")->text(), "Met: 4/4  Beat: 72  Tracks: 8");
    EXPECT_EQ(window.FileList()->count(), 2);
    EXPECT_EQ(Child<QPushButton>("CountLabel")->text(), "2 files");
    EXPECT_EQ(Child<QComboBox>("MaskBox")->toolTip(), QString::fromStdString(link.ShownStyleManager.MaskHint));
    EXPECT_TRUE(Actions().empty());

    // The tree, the buttons and the mask box send their requests.
    // The sub-group "Jazz / Swing" is node 39 of the tree.
    QTreeWidgetItem* jazz = window.Groups()->findItems("Jazz", Qt::MatchExactly)[0];
    QTreeWidgetItem* swing = jazz->child(2);
    ASSERT_EQ(swing->text(0), "Swing");
    window.Groups()->setCurrentItem(swing);
    ASSERT_FALSE(link.StyleManagerRequests.empty());
    EXPECT_EQ(link.StyleManagerRequests.back().Action, A::ShowGroup);
    EXPECT_EQ(link.StyleManagerRequests.back().Index, 39);

    // The description typed goes with "Add or edit" (which runs over the real core in LibraryWindowsTest).
    Child<QLineEdit>("DescriptionField")->setText("for tonight");
    QTest::mouseClick(Child<QPushButton>("AddOrEditButton"), Qt::LeftButton);
    EXPECT_EQ(link.StyleManagerRequests.back().Text, "for tonight");

    link.StyleManagerRequests.clear();
    QTest::mouseClick(Child<QPushButton>("RemoveAllButton"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>("PlayButton"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>("StopButton"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>("AddListedButton"), Qt::LeftButton);
    QTest::mouseClick(Child<QCheckBox>("RandomBox"), Qt::LeftButton);
    EXPECT_EQ(Actions(), (std::vector<A>{A::RemoveAll, A::Play, A::Stop, A::AddListed, A::SetRandom}));
    EXPECT_TRUE(link.StyleManagerRequests.back().On);

    QComboBox* mask = Child<QComboBox>("MaskBox");
    mask->lineEdit()->setText("*swing*");
    QTest::keyClick(mask->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(link.StyleManagerRequests.back().Action, A::SetMask);
    EXPECT_EQ(link.StyleManagerRequests.back().Text, "*swing*");

    // A double-click on a sub-folder opens it below the folder shown.
    QListWidget* folders = Child<QListWidget>("FolderList");
    ASSERT_EQ(folders->count(), 2);
    const QPoint latin = folders->visualItemRect(folders->item(1)).center();
    QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, latin);
    QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, latin);
    EXPECT_EQ(link.StyleManagerRequests.back().Action, A::SetFolder);
    EXPECT_EQ(link.StyleManagerRequests.back().Text, "/s/Latin");
}

}  // namespace
}  // namespace chordella::ui
