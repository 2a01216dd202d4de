#pragma once
// The style browser of the main window: the styles of the data home's styles folder and of
// the folders the player adds, the style playlist or the favourites (the "Show" box picks
// one), as a list with name, meter and tempo, and a search box that narrows it as one types
// (plain words, or a query of the playlist's search language). A click on a style asks for
// it to be loaded (OnLoad), Enter or a double click asks for it to be loaded and played
// (OnPlay).
//
// Folders are read a few files per turn of the event loop, so a large folder never stalls
// the window. The lists come from the core: picking one (or "Read again" while it is shown)
// asks for it with OnListWanted, and ShowEntries shows the answer.
//
// GUI thread only.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "ui/StyleCatalog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace chordella::ui {

class CoreLink;

class StyleBrowser final : public QWidget {
public:
    explicit StyleBrowser(QWidget* parent = nullptr);

    // The sources the "Show" box offers.
    static constexpr const char* FoldersSource = "Style folders";
    static constexpr const char* PlaylistSource = "Style-Playlist";
    static constexpr const char* FavoritesSource = "Favorites";

    // The styles folder of the data home (always listed) and the folders the player added.
    void SetFolders(const std::string& stylesFolder, const std::vector<std::string>& added);
    const std::vector<std::string>& AddedFolders() const { return added_; }
    // Lists one more folder (the "Add folder ..." button does this after its dialog).
    void AddFolder(const std::string& folder);
    // Reads every folder again.
    void Rescan();
    // The entries of a list source (PlaylistSource, FavoritesSource), replacing what that
    // source showed before. They are shown while that source is picked.
    void ShowEntries(const QString& source, const std::vector<StyleEntry>& entries);
    // Picks what the list shows (one of the sources above); a list source is asked for.
    void ShowSource(const QString& source);
    QString Source() const;

    // The entries shown now (the search applied), in list order.
    std::vector<StyleEntry> ShownEntries() const;
    // True while folders are still being read.
    bool Scanning() const;
    // Marks the loaded style's row (by its path).
    void MarkLoaded(const std::string& path);

    std::function<void(const std::string& path)> OnLoad;
    std::function<void(const std::string& path)> OnPlay;
    // The added folders changed (to be stored with the settings).
    std::function<void()> OnFoldersChanged;
    // A list source is to be shown: its entries are wanted (answer with ShowEntries).
    std::function<void(const QString& source)> OnListWanted;
    // "Converter ..." (hint "Open Styleconverter").
    std::function<void()> OnConverter;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadSomeFiles();
    void AddRow(const StyleEntry& entry, const QString& source, bool listRow, const StyleFilter& filter);
    void ApplySearch();
    bool Visible(const QTreeWidgetItem* item, const StyleFilter& filter) const;
    void ChooseFolder();
    static StyleEntry EntryOf(const QTreeWidgetItem* item);

    std::string stylesFolder_;
    std::vector<std::string> added_;
    std::vector<std::pair<std::string, QString>> toRead_;  // file, source
    std::size_t nextToRead_ = 0;
    QComboBox* source_ = nullptr;
    QLineEdit* search_ = nullptr;
    QLabel* searchProblem_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QTimer* reader_ = nullptr;
    std::string loaded_;
};

// Answers the browser's OnListWanted from the core's style playlist.
void ConnectStyleLists(StyleBrowser& browser, CoreLink& core);

}  // namespace chordella::ui
