#pragma once
// The "Style-Manager" window: the fixed group tree, the entries of the group shown, the
// file browser (folders, files, mask box), and the buttons to add, edit, remove, load and
// play styles, hand the listed files to the style playlist and choose the source of random
// styles. Files dragged from the file list onto the entry list are loaded and added; entries
// are dragged to reorder them. It shows the core's copy of the manager and sends every
// action to the core; while it is visible it re-reads that copy when it changes.
//
// GUI thread only.

#include <QWidget>
#include <cstdint>

#include "desktop/StyleManagerRequests.h"
#include "ui/CoreLink.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace chordella::ui {

class StyleManagerWindow : public QWidget {
public:
    explicit StyleManagerWindow(CoreLink& link, QWidget* parent = nullptr);

    // Asks the core for its copy of the manager (shown when it arrives).
    void Reload();
    // Shows this copy of the manager.
    void Show(const desktop::StyleManagerView& view);

    QTreeWidget* Groups() const { return groups_; }
    QListWidget* EntryList() const { return entries_; }
    QListWidget* FileList() const { return files_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Send(desktop::StyleManagerRequest request);
    void Send(desktop::StyleManagerAction action, int index = -1);
    void DropOnEntries(int fileIndex, int row);

    CoreLink& link_;
    desktop::StyleManagerView view_;
    std::uint64_t shownSerial_ = ~std::uint64_t{0};
    bool showing_ = false;  // Show() fills the widgets: their signals are not requests
    QTreeWidget* groups_ = nullptr;
    QListWidget* entries_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLabel* info_ = nullptr;
    QLabel* folder_ = nullptr;
    QListWidget* folders_ = nullptr;
    QListWidget* files_ = nullptr;
    QComboBox* mask_ = nullptr;
    QPushButton* count_ = nullptr;
    QCheckBox* random_ = nullptr;
    QTimer* poll_ = nullptr;
};

}  // namespace chordella::ui
