#include "ui/StylePlaylistWindow.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

using A = app::PlaylistAction;

// Answers every playlist request at once with the view a test set.
class PlaylistLink : public testing::RecordingCoreLink {
public:
    std::vector<app::PlaylistRequest> Requests;
    app::PlaylistView Answer;
    void StylePlaylist(const app::PlaylistRequest& request, std::function<void(const app::PlaylistView&)> done) override {
        Requests.push_back(request);
        if (request.Action == A::Select || request.Action == A::Load) Answer.Selected = request.Index;
        done(Answer);
    }
};

class StylePlaylistWindowTest : public ::testing::Test {
protected:
    StylePlaylistWindowTest() {
        link.Answer.Caption = "Style-Playlist: StylePlayList.gen - Styles: 35";
        link.Answer.Lines = {"/s/waltz.vxs|bpm150|3/4||BASS", "/s/JazzWaltz4.S001.sty|bpm160|3/4||BASS|PIANOS"};
        link.Answer.Found = 2;
        link.Answer.Selected = 0;
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QApplication& app = testing::QtTestApp();  // before any widget
    PlaylistLink link;
    StylePlaylistWindow window{link};
};

TEST_F(StylePlaylistWindowTest, SearchSendsTheQueryAndShowsTheHitsWithTheirCount) {
    window.Query()->setEditText("+3/4");
    window.findChild<QPushButton*>("SearchButton")->click();
    ASSERT_FALSE(link.Requests.empty());
    EXPECT_EQ(link.Requests.back().Action, A::Search);
    EXPECT_EQ(link.Requests.back().Text, "+3/4");
    EXPECT_EQ(window.windowTitle(), "Style-Playlist: StylePlayList.gen - Styles: 35");
    ASSERT_EQ(window.List()->count(), 2);
    EXPECT_EQ(window.List()->currentRow(), 0);
    QStringList labels;
    for (QLabel* label : window.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains("Found: 2")) << labels.join(", ").toStdString();
    EXPECT_TRUE(labels.contains("No: 1"));
}

TEST_F(StylePlaylistWindowTest, RandomIsSentAsAnOptionAndADoubleClickLoadsTheStyle) {
    link.Answer.Random = true;
    for (QCheckBox* box : window.findChildren<QCheckBox*>())
        if (box->text() == "Random") box->click();
    ASSERT_FALSE(link.Requests.empty());
    EXPECT_EQ(link.Requests.back().Action, A::SetOptions);
    EXPECT_TRUE(link.Requests.back().Random);

    const QPoint row = window.List()->visualItemRect(window.List()->item(1)).center();
    QTest::mouseClick(window.List()->viewport(), Qt::LeftButton, {}, row);  // a double-click's first click
    QTest::mouseDClick(window.List()->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(link.Requests.back().Action, A::Load);
    EXPECT_EQ(link.Requests.back().Index, 1);
}

TEST_F(StylePlaylistWindowTest, ThePreparedQueriesAreOffered) {
    EXPECT_EQ(window.Query()->itemText(0), "*;");
    EXPECT_GE(window.Query()->findText("!pop !ballad !beat !funk; <135; >65; +4/4"), 0);
    EXPECT_GE(window.Query()->findText("-piano !organ"), 0);
}

}  // namespace
}  // namespace chordella::ui
