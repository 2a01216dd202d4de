#pragma once
// The songlist window: the songs of the set with their titles, files and what their
// settings change; the play queue; the title field; the list's buttons and the song
// player's. It shows the core's copy of the list and sends every action to the core.
//
// On stage it is worked from single keys, so a foot switch that sends keys can drive it:
// Space starts (and stops) like the main window, Right or Page Down goes to the next song,
// Left or Page Up to the song before, Enter plays the selected song at once. A click queues
// an entry, a double-click plays it; entries are dragged to reorder them.
//
// GUI thread only.

#include <QWidget>
#include <cstdint>

#include "app/DisplaySnapshot.h"
#include "desktop/SonglistRequests.h"
#include "ui/CoreLink.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace chordella::ui {

class SonglistWindow : public QWidget {
public:
    explicit SonglistWindow(CoreLink& link, QWidget* parent = nullptr);

    // Re-reads the list when the snapshot says it changed.
    void Refresh(const app::DisplaySnapshot& snapshot);
    // Shows this copy of the list.
    void Show(const desktop::SonglistView& view);

    QListWidget* List() const { return list_; }

private:
    void Send(desktop::SonglistAction action, int index = -1);
    int Selected() const;
    void Moved(int from, int to);

    CoreLink& link_;
    std::uint64_t shownSerial_ = ~std::uint64_t{0};
    bool showing_ = false;  // Show() fills the widgets: their signals are not requests
    QListWidget* list_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* queue_ = nullptr;
    QLabel* next_ = nullptr;
    QLineEdit* title_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* session_ = nullptr;
    QCheckBox* shuffle_ = nullptr;
    QCheckBox* instruments_ = nullptr;
    QCheckBox* autoStart_ = nullptr;
    QCheckBox* repeat_ = nullptr;
    QCheckBox* useMci_ = nullptr;
};

}  // namespace chordella::ui
