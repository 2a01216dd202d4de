#pragma once
// The "Style-Playlist" window: the search box with the prepared queries, the hits of the
// last search with their count ("Found:") and position ("No:"), the options that steer the
// random style choice ("Random", "Next", "Find"), and the menus that keep the playlist,
// the search result and the favourites. It shows the core's copy of the lists and sends
// every action to the core; the questions before a bulk change are asked here.
//
// GUI thread only.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "desktop/PlaylistRequests.h"
#include "ui/CoreLink.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;

namespace chordella::ui {

class StylePlaylistWindow : public QWidget {
public:
    explicit StylePlaylistWindow(CoreLink& link, QWidget* parent = nullptr);

    // Shows this copy of the lists (and its message, when it has one).
    void Show(const desktop::PlaylistView& view);
    QListWidget* List() const { return list_; }
    QComboBox* Query() const { return query_; }
    // Files dropped onto the window (or picked for "Import styles from explorer"): the style
    // files among them, and those of dropped folders, go to the search result.
    void ImportFiles(const QStringList& files);

    // How the window asks a Yes/No question and opens an exported list; tests answer them.
    std::function<bool(const QString& question)> Ask;
    std::function<bool(const QString& file)> OpenInEditor;
    // Shows a message of the core ("... !"); tests replace it.
    std::function<void(const QString& text)> Tell;

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Send(desktop::PlaylistRequest request);
    // Asks `question` first; Yes sends the request.
    void SendAfter(const char* question, desktop::PlaylistRequest request);
    void SendOptions();
    void BuildMenus();
    void Search();
    void FindNext(int from);
    QStringList PickStyles(const QString& title);
    void ChooseStyleNumber();
    void ShowRecent(QMenu* menu);

    CoreLink& link_;
    bool showing_ = false;
    QComboBox* query_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* found_ = nullptr;
    QLabel* number_ = nullptr;
    QCheckBox* random_ = nullptr;
    QCheckBox* add_ = nullptr;
    QCheckBox* sort_ = nullptr;
    QCheckBox* next_ = nullptr;
    QCheckBox* find_ = nullptr;
    QString findExpression_;
    std::vector<std::string> recent_;
};

}  // namespace chordella::ui
