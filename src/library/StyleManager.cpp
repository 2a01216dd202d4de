#include "library/StyleManager.h"

#include <algorithm>

#include "library/StyleGroups.h"
#include "library/StylePlaylist.h"
#include "library/StylePaths.h"
#include "platform/Files.h"
#include "platform/Prompter.h"

namespace chordella::library {

namespace {

constexpr char Quote = '"';

std::string Quoted(std::string_view text) { return Quote + std::string(text) + Quote; }

std::string StartFolder(const platform::Paths& paths) {
    return platform::FolderExists(paths.Styles()) ? paths.Styles() : paths.DataDir();
}

int ClampSelection(int index, std::size_t count) {
    if (count == 0) return -1;
    return std::clamp(index, 0, static_cast<int>(count) - 1);
}

}  // namespace

StyleManager::StyleManager(platform::Prompter& prompter, const platform::Paths& paths,
                           core::StylePlaylistLink& playlist)
    : StyleManager(prompter, paths, GroupFile::PathIn(paths), playlist) {}

StyleManager::StyleManager(platform::Prompter& prompter, const platform::Paths& paths, std::string groupFilePath,
                           core::StylePlaylistLink& playlist)
    : prompter_(prompter),
      paths_(paths),
      playlist_(playlist),
      groups_(std::move(groupFilePath)),
      browser_(StartFolder(paths)),
      alive_(std::make_shared<StyleManager*>(this)) {}

StyleManager::~StyleManager() = default;

bool StyleManager::Open() {
    std::string error;
    const bool read = groups_.Load(error);
    if (!read) {
        prompter_.Inform("The style groups file " + Quoted(platform::FileNamePart(groups_.Path())) +
                         " cannot be read (" + error + "); it is left as it is and changes to the groups are not saved !");
    }
    // The folders may have been made since the manager was: the start folder is chosen now.
    if (!browser_.SetFolder(StartFolder(paths_))) browser_.Refresh();
    selectedFile_ = -1;
    ShowGroup(group_);
    return read;
}

// --- Groups -----------------------------------------------------------------------------

void StyleManager::ShowGroup(int number) {
    if (number < 1 || number > StyleGroupCount()) return;
    group_ = number;
    entries_ = groups_.Entries(number);
    selected_ = entries_.empty() ? -1 : 0;
    Changed();
}

void StyleManager::SelectEntry(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    selected_ = index;
    lastClicked_ = StyleManagerList::Entries;
    Changed();
}

std::string StyleManager::SelectedInfo() const {
    return selected_ < 0 ? std::string() : SplitStyleEntry(entries_[static_cast<std::size_t>(selected_)]).Info;
}

std::string StyleManager::SelectedDescription() const {
    return selected_ < 0 ? std::string() : SplitStyleEntry(entries_[static_cast<std::size_t>(selected_)]).Description;
}

std::string StyleManager::SelectedPath() const {
    return selected_ < 0 ? std::string() : SplitStyleEntry(entries_[static_cast<std::size_t>(selected_)]).Path;
}

std::vector<std::string> StyleManager::CurrentEntries(int number) const {
    return number == group_ ? entries_ : groups_.Entries(number);
}

bool StyleManager::SaveGroup(int number, std::vector<std::string> entries, int select) {
    const std::vector<std::string> before = groups_.Entries(number);
    groups_.SetEntries(number, entries);
    std::string error;
    if (!groups_.Save(error)) {
        groups_.SetEntries(number, before);
        prompter_.Inform("The group " + Quoted(StyleGroupTitle(number)) + " could not be saved to " +
                         Quoted(platform::FileNamePart(groups_.Path())) + ": " + error + " !");
        return false;
    }
    if (number == group_) {
        entries_ = std::move(entries);
        selected_ = ClampSelection(select, entries_.size());
    }
    Changed();
    return true;
}

void StyleManager::AddOrEdit(const LoadedStyle& style, const std::string& description) {
    if (!style.Loaded || style.Path.empty()) {
        prompter_.Inform("No style loaded !");
        return;
    }
    if (style.Path.find_first_of("\r\n") != std::string::npos) {
        prompter_.Inform("The style " + Quoted(platform::FileNamePart(style.Path)) +
                         " cannot be listed: its path holds a line break !");
        return;
    }
    const int number = group_;
    const int position = std::max(selected_, 0);
    const std::string entry = FormatStyleEntry(style.Path, style.Info, description);
    const std::string name(platform::FileNamePart(style.Path));
    const bool present = std::any_of(entries_.begin(), entries_.end(),
                                     [&](const std::string& e) { return EntryNamesPath(e, style.Path); });
    const std::string question =
        present ? "Edit the description of " + Quoted(name) + " (loaded style)?"
                : "Add " + Quoted(name) + " to group " + Quoted(StyleGroupTree()[static_cast<std::size_t>(number - 1)].Name) + " ?";
    std::weak_ptr<StyleManager*> alive = alive_;
    prompter_.ConfirmThen(question, [alive, number, position, entry, path = style.Path, present](bool yes) {
        const auto self = alive.lock();
        if (!yes || !self) return;
        StyleManager& manager = **self;
        std::vector<std::string> entries = manager.CurrentEntries(number);
        const auto same = std::find_if(entries.begin(), entries.end(),
                                       [&](const std::string& e) { return EntryNamesPath(e, path); });
        if (same != entries.end()) {
            if (!present) return;  // added meanwhile: the question no longer fits
            *same = entry;
        } else {
            entries.insert(entries.begin() + std::min(position, static_cast<int>(entries.size())), entry);
        }
        // The selection stays where it was (after an add, on the new entry).
        manager.SaveGroup(number, std::move(entries), position);
    });
}

void StyleManager::RemoveSelected() {
    if (selected_ < 0 || selected_ >= static_cast<int>(entries_.size())) return;
    const int number = group_;
    const std::string entry = entries_[static_cast<std::size_t>(selected_)];
    std::weak_ptr<StyleManager*> alive = alive_;
    prompter_.ConfirmThen("Remove " + entry.substr(0, 12) + "... ?", [alive, number, entry](bool yes) {
        const auto self = alive.lock();
        if (!yes || !self) return;
        StyleManager& manager = **self;
        std::vector<std::string> entries = manager.CurrentEntries(number);
        const auto found = std::find(entries.begin(), entries.end(), entry);
        if (found == entries.end()) return;  // removed meanwhile
        const int index = static_cast<int>(found - entries.begin());
        entries.erase(found);
        manager.SaveGroup(number, std::move(entries), std::max(index - 1, 0));
    });
}

void StyleManager::RemoveAll() {
    const int number = group_;
    std::weak_ptr<StyleManager*> alive = alive_;
    prompter_.ConfirmThen("Remove all styles ?", [alive, number](bool yes) {
        const auto self = alive.lock();
        if (!yes || !self) return;
        (*self)->SaveGroup(number, {}, -1);
    });
}

bool StyleManager::MoveEntry(int from, int to) {
    const int count = static_cast<int>(entries_.size());
    if (from < 0 || from >= count || to < 0 || to >= count || from == to) return false;
    std::vector<std::string> entries = entries_;
    std::string moved = std::move(entries[static_cast<std::size_t>(from)]);
    entries.erase(entries.begin() + from);
    entries.insert(entries.begin() + to, std::move(moved));
    return SaveGroup(group_, std::move(entries), to);
}

// --- Files ------------------------------------------------------------------------------

bool StyleManager::SetFolder(const std::string& folder) {
    if (!browser_.SetFolder(folder)) return false;
    selectedFile_ = -1;
    Changed();
    return true;
}

void StyleManager::SetMask(const std::string& mask) {
    browser_.SetMask(mask);
    selectedFile_ = -1;
    Changed();
}

void StyleManager::SelectFile(int index) {
    if (index < 0 || index >= static_cast<int>(browser_.Files().size())) return;
    selectedFile_ = index;
    lastClicked_ = StyleManagerList::Files;
    Changed();
}

void StyleManager::AddListedToPlaylist() {
    const std::vector<std::string> files = browser_.FilePaths();
    if (files.empty()) return;
    std::weak_ptr<StyleManager*> alive = alive_;
    prompter_.ConfirmThen("Would you like to add " + std::to_string(files.size()) + " to the current Style-playlist?",
                          [alive, files](bool yes) {
                              const auto self = alive.lock();
                              if (!yes || !self) return;
                              // One description for all of them, for later searches.
                              (**self).prompter_.InputThen(
                                  std::string(playlist_text::Caption), std::string(playlist_text::AskDescription), "",
                                  [alive, files](std::optional<std::string> description) {
                                      const auto still = alive.lock();
                                      if (!description || !still) return;
                                      StyleManager& manager = **still;
                                      std::string error;
                                      manager.playlist_.AppendStyles(files, *description, error);
                                      if (!error.empty()) manager.prompter_.Inform(error);
                                  });
                          });
}

void StyleManager::ShowPlaylist() {
    if (!playlist_.ShowPlaylist()) prompter_.Inform(std::string(core::PlaylistNotShownMessage));
}

// --- Play and random --------------------------------------------------------------------

std::string StyleManager::ResolvedPath(const std::string& storedPath) const {
    return FindStyleEntryFile(storedPath, paths_).value_or(std::string());
}

std::string StyleManager::PlayPath() {
    if (lastClicked_ == StyleManagerList::Entries && selected_ >= 0) {
        const std::string stored = SelectedPath();
        const std::string found = ResolvedPath(stored);
        return found.empty() ? stored : found;
    }
    if (selectedFile_ < 0 && browser_.Files().size() > 10) {
        selectedFile_ = 10;
        Changed();
    }
    return browser_.PathOf(selectedFile_);
}

void StyleManager::SetRandom(bool on) {
    random_ = on;
    Changed();
}

std::vector<std::string> StyleManager::RandomSource() const {
    if (RandomFromFiles()) return browser_.FilePaths();
    std::vector<std::string> paths;
    paths.reserve(entries_.size());
    for (const auto& entry : entries_) {
        const std::string stored = SplitStyleEntry(entry).Path;
        const std::string found = ResolvedPath(stored);
        paths.push_back(found.empty() ? stored : found);
    }
    return paths;
}

void StyleManager::ShowChosen(int index) {
    if (RandomFromFiles()) {
        selectedFile_ = index >= 0 && index < static_cast<int>(browser_.Files().size()) ? index : selectedFile_;
    } else if (index >= 0 && index < static_cast<int>(entries_.size())) {
        selected_ = index;
    }
    Changed();
}

}  // namespace chordella::library
