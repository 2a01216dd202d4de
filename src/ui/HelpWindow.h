#pragma once
// The Help menu's windows: "Keyboard map" and "Playing live" (two pages of one help window,
// the map drawn for the computer keyboard layout and chord types in use) and "About
// Chordella" (version, the SoundFont with its licence, the libraries and their licences).
//
// GUI thread only.

#include <QDialog>
#include <QWidget>
#include <array>

class QTabWidget;
class QTextBrowser;

namespace chordella::ui {

class HelpWindow final : public QWidget {
public:
    enum Page { KeyboardPage = 0, PlayingLivePage = 1 };

    explicit HelpWindow(QWidget* parent = nullptr);

    // Draws the keyboard map for this layout and these chord types (pad rows A … K) and
    // shows the page.
    void ShowPage(Page page, int layout, const std::array<QString, 11>& slotTypes);
    QString PageText(Page page) const;

private:
    QTabWidget* tabs_ = nullptr;
    QTextBrowser* keys_ = nullptr;
    QTextBrowser* live_ = nullptr;
};

class AboutDialog final : public QDialog {
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    // The text shown (version, SoundFont, libraries).
    static QString Text();
};

}  // namespace chordella::ui
