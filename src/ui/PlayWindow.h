#pragma once
// "PLAY ...": the small window that stays on top while a made song plays. Its panel shows
// what plays and opens or closes the chord-memory editor; "Create a new song !" makes the
// next song from mixed common progressions, "Use another style !" draws another style.
// Its pop-up menu chooses where styles are drawn from.

#include <QWidget>
#include <functional>

#include "ui/CoreLink.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace chordella::ui {

class SongCreatorWindow;

class PlayWindow : public QWidget {
public:
    PlayWindow(CoreLink& link, SongCreatorWindow& creator, QWidget* parent = nullptr);

    // A click on the panel (the main window opens or closes the editor).
    void SetOnPanel(std::function<void()> onPanel) { onPanel_ = std::move(onPanel); }
    // The play label of the song made last ("PLAY 12 bar Blues" …).
    void ShowPlaying(const QString& label);
    QString StyleText() const;
    QMenu& Popup() { return *popup_; }

private:
    void ShowSource(const desktop::StyleSourceView& view);

    CoreLink& link_;
    std::function<void()> onPanel_;
    QPushButton* panel_ = nullptr;
    QLabel* style_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* fromPlaylist_ = nullptr;
    QAction* fromManager_ = nullptr;
    QAction* randomOrder_ = nullptr;
};

}  // namespace chordella::ui
