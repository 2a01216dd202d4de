// The main window's Help menu: the keyboard map, "Playing live" and the About box.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"

namespace chordella::ui {

void MainWindow::BuildHelpMenu() {
    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("HelpMenu");
    help->addAction("&Keyboard map\tF1", this, [this] { OpenHelp(HelpWindow::KeyboardPage); })
        ->setObjectName("KeyboardMapAction");
    help->addAction("&Playing live", this, [this] { OpenHelp(HelpWindow::PlayingLivePage); })
        ->setObjectName("PlayingLiveAction");
    help->addSeparator();
    help->addAction("&About Chordella", this, [this] {
        auto* about = findChild<AboutDialog*>("AboutDialog");
        if (about == nullptr) about = new AboutDialog(this);
        about->show();
        about->raise();
    })->setObjectName("AboutAction");
}

void MainWindow::OpenHelp(int page) {
    if (help_ == nullptr) help_ = new HelpWindow(this);
    // The map is drawn for the layout and chord types in use now.
    const app::DisplaySnapshot snapshot = core_.Snapshot();
    std::array<QString, 11> slotTypes;
    for (std::size_t row = 0; row < slotTypes.size(); ++row)
        slotTypes[row] = QString::fromUtf8(snapshot.PadRowTypes[row].c_str());
    help_->ShowPage(page == HelpWindow::PlayingLivePage ? HelpWindow::PlayingLivePage : HelpWindow::KeyboardPage,
                    snapshot.KeyboardLayout, slotTypes);
}

}  // namespace chordella::ui
