#pragma once
// The style manager: the groups of the fixed tree with their entries, the file browser, and
// what its buttons do — add or edit the loaded style's entry, remove one or all entries,
// reorder, hand the listed files to the style playlist, and the lists that Play and the
// random style choice take their style from. Every change of a group is saved at once.
//
// Questions use the prompter's non-waiting forms: the operation checks, asks, and goes on in
// the answer's callback, re-reading the group then (it may have changed meanwhile). An
// answer that arrives after the manager is gone does nothing.
//
// Control thread.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/StylePlaylistLink.h"
#include "library/GroupFile.h"
#include "library/StyleEntry.h"
#include "library/StyleFileBrowser.h"
#include "platform/Paths.h"

namespace chordella::platform { class Prompter; }

namespace chordella::library {

// The style loaded in the program, as "Add or Edit" needs it.
struct LoadedStyle {
    bool Loaded = false;
    std::string Path;
    StyleInfo Info;
};

// Which list the user clicked last: Play takes its style from there.
enum class StyleManagerList { Entries, Files };

class StyleManager {
public:
    StyleManager(platform::Prompter& prompter, const platform::Paths& paths, core::StylePlaylistLink& playlist);
    StyleManager(platform::Prompter& prompter, const platform::Paths& paths, std::string groupFilePath,
                 core::StylePlaylistLink& playlist);
    ~StyleManager();
    StyleManager(const StyleManager&) = delete;
    StyleManager& operator=(const StyleManager&) = delete;

    // Reads the group file and lists the start folder (the data home's STYLES folder when it
    // exists, else the data home). A damaged group file is reported; its groups are then not
    // saved over. Shows group 1.
    bool Open();

    // --- Groups ------------------------------------------------------------------------
    // Shows group 1 … StyleGroupCount(); others change nothing.
    void ShowGroup(int number);
    int Group() const { return group_; }
    const std::vector<std::string>& Entries() const { return entries_; }
    int SelectedEntry() const { return selected_; }
    // A click on an entry: its info and description show, Play takes it.
    void SelectEntry(int index);
    std::string SelectedInfo() const;
    std::string SelectedDescription() const;
    std::string SelectedPath() const;  // as stored

    // " Add or Edit current Style ": the loaded style's entry with this description.
    void AddOrEdit(const LoadedStyle& style, const std::string& description);
    // "Rem." and "Rem. all".
    void RemoveSelected();
    void RemoveAll();
    // An entry dragged to another place; saved at once. False when nothing moved.
    bool MoveEntry(int from, int to);

    // --- Files -------------------------------------------------------------------------
    StyleFileBrowser& Browser() { return browser_; }
    const StyleFileBrowser& Browser() const { return browser_; }
    bool SetFolder(const std::string& folder);
    void SetMask(const std::string& mask);
    void SelectFile(int index);
    int SelectedFile() const { return selectedFile_; }

    // The arrow button: every listed file to the style playlist, after a question.
    void AddListedToPlaylist();
    // The count label: the playlist's window.
    void ShowPlaylist();

    // --- Play and random ---------------------------------------------------------------
    // The file Play loads: the selected entry when the entry list was clicked last, else the
    // selected file (with nothing selected and more than ten files listed, the eleventh is
    // selected and used). Resolved on this machine; empty when there is none.
    std::string PlayPath();
    // "Random": the listed files become the source of the random style choice.
    void SetRandom(bool on);
    bool RandomTicked() const { return random_; }
    // What the random style choice draws from: the listed files with "Random" ticked, else
    // the current group's entries (resolved where they exist here). An empty group would
    // leave the choice with nothing, so the listed files stand in for it.
    std::vector<std::string> RandomSource() const;
    bool RandomFromFiles() const { return random_ || entries_.empty(); }
    // The random choice took entry `index` of RandomSource(): the list shows it.
    void ShowChosen(int index);

    // Moves with every change the window shows.
    std::uint64_t Serial() const { return serial_; }
    bool GroupFileDamaged() const { return groups_.Damaged(); }
    std::string ResolvedPath(const std::string& storedPath) const;

private:
    void Changed() { ++serial_; }
    // The group's entries as they are now (the shown list, or the file's for another group).
    std::vector<std::string> CurrentEntries(int number) const;
    // Writes the group; on failure says why and keeps the group as it was.
    bool SaveGroup(int number, std::vector<std::string> entries, int select);

    platform::Prompter& prompter_;
    platform::Paths paths_;
    core::StylePlaylistLink& playlist_;
    GroupFile groups_;
    StyleFileBrowser browser_;
    int group_ = 1;
    std::vector<std::string> entries_;
    int selected_ = -1;
    int selectedFile_ = -1;
    StyleManagerList lastClicked_ = StyleManagerList::Files;
    bool random_ = false;
    std::uint64_t serial_ = 0;
    // Answers to questions check this is still alive.
    std::shared_ptr<StyleManager*> alive_;
};

}  // namespace chordella::library
