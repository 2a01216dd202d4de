#include "ui/StylePlaylistWindow.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "support/TempFolder.h"
#include "support/TextFiles.h"
#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

using A = desktop::PlaylistAction;

// Answers every playlist request at once with the view a test set.
class PlaylistLink : public testing::RecordingCoreLink {
public:
    std::vector<desktop::PlaylistRequest> Requests;
    desktop::PlaylistView Answer;
    void StylePlaylist(const desktop::PlaylistRequest& request, std::function<void(const desktop::PlaylistView&)> done) override {
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

// The search, its count and "Random" over the real core are in LibraryWindowsTest; here the
// caption, the selected line's number and a double click loading the style.
TEST_F(StylePlaylistWindowTest, ShowsTheCaptionAndTheSelectedNumberAndADoubleClickLoads) {
    window.findChild<QPushButton*>("SearchButton")->click();
    EXPECT_EQ(window.windowTitle(), "Style-Playlist: StylePlayList.gen - Styles: 35");
    ASSERT_EQ(window.List()->count(), 2);
    QStringList labels;
    for (QLabel* label : window.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains("No: 1")) << labels.join(", ").toStdString();

    const QPoint row = window.List()->visualItemRect(window.List()->item(1)).center();
    QTest::mouseClick(window.List()->viewport(), Qt::LeftButton, {}, row);  // a double-click's first click
    QTest::mouseDClick(window.List()->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(link.Requests.back().Action, A::Load);
    EXPECT_EQ(link.Requests.back().Index, 1);
}

TEST_F(StylePlaylistWindowTest, DroppedStylesAndFoldersAreImportedAfterTheQuestionAndAnExportedListIsOpened) {
    testing::TempFolder folder;
    testing::WriteTextFile(folder.File("a.vxs"), "style");
    testing::WriteTextFile(folder.File("notes.txt"), "no style");
    testing::WriteTextFile(folder.File("more/b.STY"), "style");
    std::vector<QString> asked;
    window.Ask = [&](const QString& question) {
        asked.push_back(question);
        return true;
    };
    window.ImportFiles({QString::fromStdString(folder.File("a.vxs")), QString::fromStdString(folder.File("notes.txt")),
                        QString::fromStdString(folder.File("more"))});
    ASSERT_EQ(asked, std::vector<QString>{"Should the existing list be deleted first?"});
    EXPECT_EQ(link.Requests.back().Action, A::ImportFiles);
    EXPECT_TRUE(link.Requests.back().Clear);
    EXPECT_EQ(link.Requests.back().Files, (std::vector<std::string>{folder.File("a.vxs"), folder.File("more/b.STY")}));
    const std::size_t sent = link.Requests.size();
    window.ImportFiles({QString::fromStdString(folder.File("notes.txt"))});
    EXPECT_EQ(link.Requests.size(), sent) << "nothing to import, nothing asked";

    std::vector<QString> opened;
    window.OpenInEditor = [&](const QString& file) {
        opened.push_back(file);
        return true;
    };
    link.Answer.ExportedFile = folder.File("Export_Playlist.txt");
    for (QAction* top : window.findChild<QMenuBar*>()->actions())
        if (top->text() == "Playlists")
            for (QAction* item : top->menu()->actions())
                if (item->text() == "Export to text editor") item->trigger();
    EXPECT_EQ(link.Requests.back().Action, A::ExportToEditor);
    EXPECT_EQ(opened, std::vector<QString>{QString::fromStdString(folder.File("Export_Playlist.txt"))});
}

}  // namespace
}  // namespace chordella::ui
