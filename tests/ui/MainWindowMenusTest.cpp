// The main window's menus and Help, used as a player uses them: each item has a mnemonic of
// its own and names its key once; "Exit" closes the Song menu; the song dialogs start in the
// songs folder; F1 is the help key before the style plays and the fill key while it plays;
// the About box names the version, the SoundFont and the libraries.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <map>
#include <string>

#include "app/LiveArranger.h"
#include "app/Version.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
#include "support/TestPaths.h"
#include "ui/HelpWindow.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

// The letter after a single "&" ("&&" is an ampersand), or 0.
QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return QChar(0);
}

void CheckMenu(const QMenu& menu) {
    std::map<QChar, QString> taken;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        const QString text = action->text();
        if (const QChar letter = Mnemonic(text); letter != QChar(0)) {
            EXPECT_FALSE(taken.contains(letter)) << menu.title().toStdString() << ": \"" << text.toStdString()
                                                 << "\" and \"" << taken[letter].toStdString() << "\"";
            taken[letter] = text;
        }
        // A shortcut is shown beside the caption: a caption naming the same key shows it twice.
        const QString key = action->shortcut().toString(QKeySequence::NativeText);
        if (!key.isEmpty()) {
            EXPECT_FALSE(text.contains(key)) << "\"" << text.toStdString() << "\" shows " << key.toStdString() << " twice";
        }
        if (action->menu() != nullptr) CheckMenu(*action->menu());
    }
}

TEST(MainWindowMenus, EachItemHasAMnemonicOfItsOwnAndNamesItsKeyOnceExitComesLastAndTheSongDialogsStartInTheSongsFolder) {
    WindowRig rig;
    std::map<QChar, QString> top;
    for (QAction* action : rig.Window().menuBar()->actions()) {
        const QChar letter = Mnemonic(action->text());
        if (letter != QChar(0)) {
            EXPECT_FALSE(top.contains(letter)) << action->text().toStdString();
            top[letter] = action->text();
        }
        if (action->menu() != nullptr) CheckMenu(*action->menu());
    }
    const QList<QAction*> song = rig.Window().menuBar()->findChild<QMenu*>("SongMenu")->actions();
    EXPECT_EQ(song.back()->text(), "E&xit");
    EXPECT_TRUE(song[song.size() - 2]->isSeparator());
    ASSERT_NE(MenuItem(rig.Window(), "SongMenu", "Chord Memory Editor"), nullptr);

    // The rule kept for every load and the tool for now sit under headings of their own.
    QMenu* style = rig.Window().menuBar()->findChild<QMenu*>("StyleMenu");
    auto headingOf = [style](const QString& caption) {
        QString heading;
        for (const QAction* action : style->actions()) {
            if (action->isSeparator()) heading = action->text();
            if (action->text() == caption) return heading;
        }
        return QString("(none)");
    };
    EXPECT_FALSE(headingOf("Normalize Volume").isEmpty());
    EXPECT_NE(headingOf("Normalize Volume"), headingOf("Normalize volume"));

    // The song dialogs start in the songs folder.
    for (const char* caption : {"Open ...", "Save as ..."}) {
        QString startedIn;
        AnswerNextFileDialog([&](QFileDialog& dialog) {
            startedIn = dialog.directory().canonicalPath();
            return QString();  // cancelled: nothing is opened or written
        });
        QAction* item = MenuItem(rig.Window(), "SongMenu", caption);
        ASSERT_NE(item, nullptr) << caption;
        item->trigger();
        rig.Settle();
        EXPECT_EQ(startedIn, QDir(QString::fromStdString(rig.Host().SongsFolder())).canonicalPath()) << caption;
    }
}

TEST(MainWindowHelp, F1IsTheHelpKeyBeforeTheStylePlaysAndTheFillKeyWhileItPlaysAndAboutNamesTheVersionAndLibraries) {
    WindowRig rig;
    QTest::keyClick(&rig.Window(), Qt::Key_F1);
    auto* help = dynamic_cast<ui::HelpWindow*>(ShownTopLevel("HelpWindow"));
    ASSERT_NE(help, nullptr) << "F1 with the style standing opens the help";
    const QString map = help->PageText(ui::HelpWindow::KeyboardPage);
    EXPECT_TRUE(map.contains("English (USA)")) << "drawn for the layout in use";
    EXPECT_TRUE(map.contains("Shift")) << "the modifiers are explained";
    EXPECT_TRUE(help->PageText(ui::HelpWindow::PlayingLivePage).contains("Sync Start"));
    help->close();
    // About names the version, the SoundFont and the libraries with their licences.
    QAction* item = MenuItem(rig.Window(), "HelpMenu", "About Chordella");
    ASSERT_NE(item, nullptr);
    item->trigger();
    QWidget* about = ShownTopLevel("AboutDialog");
    ASSERT_NE(about, nullptr);
    const QString text = about->findChild<QLabel*>("AboutText")->text();
    EXPECT_TRUE(text.contains(app::Version));
    EXPECT_TRUE(text.contains("SoundFont"));
    for (const char* library : {"Qt", "FluidSynth", "RtMidi", "LGPL", "MIT"}) EXPECT_TRUE(text.contains(library)) << library;
    about->close();

    ASSERT_TRUE(rig.OpenBundledStyle("pop16.vxs"));
    rig.Host().Barrier([](desktop::DesktopCore& core) {
        core.Arranger().Clock().StartVirtual(120);
        core.Arranger().Transport().StartStyle();
        core.Arranger().Clock().RunVirtualTicks(24 * 8);  // past the intro: a main part plays
    });
    rig.Window().Refresh(rig.Shown());
    QTest::keyClick(&rig.Window(), Qt::Key_F1);
    EXPECT_EQ(ShownTopLevel("HelpWindow"), nullptr) << "no help while the style plays";
    rig.Host().Barrier([](desktop::DesktopCore& core) { core.Arranger().Clock().RunVirtualTicks(24); });
    const int part = rig.Shown().Part;
    const int queued = rig.Shown().QueuedPart;
    EXPECT_TRUE(part == 4 || part == 5 || queued == 4 || queued == 5) << "a fill plays or is queued: " << part << "/" << queued;
}

}  // namespace
}  // namespace chordella::testing
