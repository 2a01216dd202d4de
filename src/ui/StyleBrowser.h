#pragma once
// The style browser of the main window: the styles of the data home's styles folder and of
// the folders the player adds, as a list with name, meter and tempo, and a search box that
// narrows it as one types. A click on a style asks for it to be loaded (OnLoad), Enter or a
// double click asks for it to be loaded and played (OnPlay).
//
// Folders are read a few files per turn of the event loop, so a large folder never stalls
// the window. Other lists (a playlist, a search result) can be shown in the same list with
// ShowEntries under a source name of their own.
//
// GUI thread only.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "ui/StyleCatalog.h"

class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace chordella::ui {

class StyleBrowser final : public QWidget {
public:
    explicit StyleBrowser(QWidget* parent = nullptr);

    // The styles folder of the data home (always listed) and the folders the player added.
    void SetFolders(const std::string& stylesFolder, const std::vector<std::string>& added);
    const std::vector<std::string>& AddedFolders() const { return added_; }
    // Lists one more folder (the "Add folder ..." button does this after its dialog).
    void AddFolder(const std::string& folder);
    // Reads every folder again.
    void Rescan();
    // Shows entries of another source (a playlist …) below the folders' styles, replacing
    // what that source showed before.
    void ShowEntries(const QString& source, const std::vector<StyleEntry>& entries);

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadSomeFiles();
    void AddRow(const StyleEntry& entry, const QString& source);
    void ApplySearch();
    void ChooseFolder();
    static StyleEntry EntryOf(const QTreeWidgetItem* item);

    std::string stylesFolder_;
    std::vector<std::string> added_;
    std::vector<std::pair<std::string, QString>> toRead_;  // file, source
    std::size_t nextToRead_ = 0;
    QLineEdit* search_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QTimer* reader_ = nullptr;
    std::string loaded_;
};

}  // namespace chordella::ui
