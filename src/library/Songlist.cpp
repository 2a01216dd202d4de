#include "library/Songlist.h"

#include <algorithm>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/TextCase.h"

namespace chordella::library {

namespace {

constexpr char Quote = '"';

std::string Extension(const std::string& path) {
    const std::string_view name = platform::FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : platform::UpperCase(name.substr(dot));
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t") != std::string_view::npos) lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Why `lines` are not the entries of a songlist, or empty when they are: every entry is a
// line of text with the title in columns 1 … 50, a blank, then the song's path.
std::string NotASonglist(const std::vector<std::string>& lines) {
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        const std::string where = "line " + std::to_string(n + 1);
        const auto control = std::find_if(line.begin(), line.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return (byte < 0x20 && c != '\t') || byte == 0x7F;
        });
        if (control != line.end()) return where + " holds control bytes";
        if (line.size() <= PathColumn || line[PathColumn - 1] != ' ' || SongEntryPath(line).empty())
            return where + " is not a song entry (a title in columns 1 to 50, then the song's path)";
    }
    return {};
}

}  // namespace

bool ReadSonglistFile(const std::string& path, std::vector<std::string>& lines, std::string& error) {
    std::string text;
    if (!platform::ReadTextFile(path, MaxSonglistBytes, text, error)) return false;
    return ReadSonglistText(text, lines, error);
}

bool ReadSonglistText(std::string_view text, std::vector<std::string>& lines, std::string& error) {
    std::vector<std::string> read = SplitLines(text);
    const std::string why = NotASonglist(read);
    if (!why.empty()) {
        error = "not a songlist: " + why;
        return false;
    }
    lines = std::move(read);
    return true;
}

bool WriteSonglistFile(const std::string& path, const std::vector<std::string>& lines, std::string& error) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return platform::WriteFileAtomically(path, text, error);
}

std::string Songlist::PlayCaption() const { return "Play " + std::to_string(queue_.size()); }

std::string Songlist::Caption() const {
    if (path_.empty()) return "Songlist";
    return "Songlist - " + platform::UpperCase(platform::FileNamePart(path_));
}

void Songlist::Notify() {
    if (Changed) Changed();
}

void Songlist::ListChanged() {
    queue_.clear();
    Notify();
}

void Songlist::EntriesChanged() {
    modified_ = true;
    ListChanged();
}

bool Songlist::Valid(std::optional<int> index) const {
    return index && *index >= 0 && static_cast<std::size_t>(*index) < entries_.size();
}

void Songlist::Load() {
    std::string initial = path_.empty() ? std::string() : platform::FolderOf(platform::WithForwardSlashes(path_));
    if (path_.empty() || Extension(path_) != ".VXL") initial += (initial.empty() ? "" : "/") + std::string("*.VXL");
    prompter_.OpenFileThen(std::string(OpenSonglistTitle), std::string(SonglistFilter), initial,
                           [this](std::optional<std::string> chosen) {
                               if (chosen && !chosen->empty()) LoadFrom(*chosen);
                           });
}

void Songlist::LoadFrom(const std::string& path) {
    std::vector<std::string> lines;
    std::string error;
    if (!ReadSonglistFile(path, lines, error)) {
        prompter_.Inform("Can't open the songlist \"" + path + "\" (" + error + ") !");
        return;
    }
    auto replace = [this, path](std::vector<std::string> read) {
        ReplaceWith(std::move(read), path);
        prompter_.Inform(std::string(SpaceBarMessage));
    };
    if (entries_.empty()) {
        replace(std::move(lines));
        return;
    }
    prompter_.AskThen(std::string(LoadQuestion), [this, lines, replace](platform::Answer answer) {
        if (answer == platform::Answer::Cancel) return;
        if (answer == platform::Answer::No) {
            replace(lines);
            return;
        }
        entries_.insert(entries_.begin(), lines.begin(), lines.end());
        EntriesChanged();
    });
}

bool Songlist::OpenQuietly(const std::string& path, std::string& error) {
    std::vector<std::string> lines;
    if (!ReadSonglistFile(path, lines, error)) return false;
    ReplaceWith(std::move(lines), path);
    return true;
}

void Songlist::ReplaceWith(std::vector<std::string> lines, const std::string& path) {
    entries_ = std::move(lines);
    path_ = path;
    modified_ = false;
    ListChanged();
}

bool Songlist::Save() {
    if (!path_.empty()) return SaveTo(path_);
    // A new list gets its file from the save dialog; the save follows the answer.
    prompter_.SaveFileThen(std::string(SaveSonglistTitle), std::string(SonglistFilter), "*.vxl",
                           [this](std::optional<std::string> chosen) {
                               if (!chosen || chosen->empty()) return;
                               const bool named = chosen->size() > 4 && platform::SameNoCase(std::string_view(*chosen).substr(chosen->size() - 4), ".vxl");
                               SaveTo(named ? *chosen : *chosen + ".vxl");
                           });
    return false;
}

bool Songlist::SaveTo(const std::string& path) {
    std::string error;
    if (!WriteSonglistFile(path, entries_, error)) {
        prompter_.Inform("The songlist \"" + path + "\" could not be saved (" + error + ") !");
        return false;
    }
    path_ = path;
    modified_ = false;
    Notify();
    return true;
}

bool Songlist::SaveIfModified() {
    if (!modified_ || path_.empty()) return true;
    std::string text;
    std::string error;
    if (platform::ReadTextFile(path_, MaxSonglistBytes, text, error)) {
        const std::size_t dot = path_.rfind('.');
        const std::size_t slash = path_.find_last_of("/\\");
        const std::string stem =
            dot != std::string::npos && (slash == std::string::npos || dot > slash) ? path_.substr(0, dot) : path_;
        if (!platform::WriteFileAtomically(stem + ".bak", text, error)) {
            prompter_.Inform("The backup of the songlist \"" + path_ + "\" could not be written (" + error + ") !");
            return false;
        }
    }
    return SaveTo(path_);
}

bool Songlist::Refused(const SongEntry& entry) {
    if (entry.Path.empty()) return true;  // no song loaded: nothing to add
    if (PathFits(entry.Path)) return false;
    prompter_.Inform("The path \"" + entry.Path + "\" is longer than " + std::to_string(PathWidth) +
                     " characters; move the song to a shorter path to add it to the songlist !");
    return true;
}

void Songlist::Add(SongEntry entry, std::optional<int> selected, std::function<void(bool)> then) {
    if (Refused(entry)) {
        if (then) then(false);
        return;
    }
    entry.Title = TitleField;
    const std::string question = std::string("Add ") + Quote + TitleField + Quote + " & Controller-Values to Songlist?";
    prompter_.ConfirmThen(question, [this, entry, selected, then](bool yes) {
        if (yes) {
            const std::size_t at = Valid(selected) ? static_cast<std::size_t>(*selected) : 0;
            entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), FormatSongEntry(entry));
            EntriesChanged();
        }
        if (then) then(yes);
    });
}

bool Songlist::Append(const SongEntry& entry) {
    if (Refused(entry)) return false;
    entries_.push_back(FormatSongEntry(entry));
    EntriesChanged();
    return true;
}

void Songlist::Edit(std::optional<int> selected, SongEntry entry) {
    if (!Valid(selected) || Refused(entry)) return;
    const std::string& old = entries_[static_cast<std::size_t>(*selected)];
    const std::string question = std::string("Replace ") + Quote + old.substr(0, 15) + "..." + Quote + " with " +
                                 Quote + TitleField.substr(0, 15) + "..." + Quote + " ?";
    const int index = *selected;
    prompter_.ConfirmThen(question, [this, index, entry](bool yes) {
        if (!yes || !Valid(index)) return;
        prompter_.ConfirmThen(std::string(KeepTitleQuestion), [this, index, entry](bool keep) mutable {
            if (!Valid(index)) return;
            std::string& line = entries_[static_cast<std::size_t>(index)];
            if (keep) TitleField = SongEntryTitle(line);
            entry.Title = TitleField;
            line = FormatSongEntry(entry);
            EntriesChanged();
        });
    });
}

void Songlist::Delete(std::optional<int> selected) {
    if (!Valid(selected)) return;
    const int index = *selected;
    const std::string question =
        std::string("Delete ") + Quote + entries_[static_cast<std::size_t>(index)].substr(0, 15) + "..." + Quote + " ?";
    prompter_.ConfirmThen(question, [this, index](bool yes) {
        if (!yes || !Valid(index)) return;
        entries_.erase(entries_.begin() + index);
        EntriesChanged();
    });
}

void Songlist::NewClear() {
    if (entries_.empty()) return;
    prompter_.AskThen(std::string(NewClearQuestion), [this](platform::Answer answer) {
        if (answer == platform::Answer::Yes) {
            entries_.clear();
            path_.clear();
            ListChanged();
        } else if (answer == platform::Answer::No) {
            CreateChordsToggle = !CreateChordsToggle;
            Notify();
        }
    });
}

void Songlist::Clear() {
    entries_.clear();
    EntriesChanged();
}

bool Songlist::Move(int from, int to) {
    if (!Valid(from) || !Valid(to)) return false;
    if (from == to) return true;
    std::string line = std::move(entries_[static_cast<std::size_t>(from)]);
    entries_.erase(entries_.begin() + from);
    entries_.insert(entries_.begin() + to, std::move(line));
    EntriesChanged();
    return true;
}

bool Songlist::Enqueue(int entry) {
    if (!Valid(entry) || queue_.size() >= PlayQueueCapacity) return false;
    queue_.push_back(entry);
    Notify();
    return true;
}

void Songlist::QueueSelection(std::vector<int> selected) {
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    queue_.clear();
    for (const int entry : selected)
        if (Valid(entry) && queue_.size() < PlayQueueCapacity) queue_.push_back(entry);
    Notify();
}

void Songlist::ClearQueue() {
    queue_.clear();
    Notify();
}

std::optional<int> Songlist::TakeQueued() {
    if (queue_.empty()) return std::nullopt;
    const int entry = queue_.front();
    queue_.erase(queue_.begin());
    Notify();
    return entry;
}

}  // namespace chordella::library
