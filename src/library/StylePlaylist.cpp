#include "library/StylePlaylist.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "library/StyleFacts.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/TextCase.h"

namespace chordella::library {

namespace {

bool LessNoCase(const std::string& a, const std::string& b) { return platform::LowerCase(a) < platform::LowerCase(b); }

std::string SearchResultBackupFile(const platform::Paths& paths) { return paths.Lists() + "/SearchResult.sea"; }

// A list file the user chose: false with the message to show when it is missing or damaged.
bool ReadChosenList(const std::string& file, std::vector<std::string>& lines, std::string& message) {
    if (!platform::FileExists(file)) {
        message = file + " not found !";
        return false;
    }
    std::string error;
    if (ReadListFile(file, lines, error)) return true;
    message = file + ": " + error + " !";
    return false;
}

}  // namespace

const std::vector<std::string_view>& PreparedQueries() {
    static const std::vector<std::string_view> queries = {
        "*;", "!pop !ballad !8 beat !16 beat !fusion !hip hop; <165; >65; +4/4",
        "!pop !ballad !beat !funk; <135; >65; +4/4", "!latin; !fusion; !beat; !country !cntr; <125; >75; +4/4",
        "!12 beat", "!16 beat", "!8 beat", "!50", "!60", "!70", "!80", "!ballad", "!bigband", "!bluegrass", "!blues",
        "!bossa", "!beat", "!chacha", "!combo", "!country", "!dance", "!disco", "!dixie", "!enka", "!euro", "!ele",
        "!fox", "!funk", "!fusion", "!gipsy", "!gospel", "!house", "!jazz", "!jz", "!latin", "!lat", "!limbo",
        "!mambo", "!march", "!mazurka", "!mereng", "!muset", "!piano", "!polka", "!pop", "!r&roll", "!rroll",
        "!reggae", "!rock", "!rumba", "!samba", "!shuffle", "!softrock", "!swing", "!tango", "!techno", "!train",
        "!twist", "!waltz", "=120", "=90", ">75", "<125", ">12000", "<5000", "+4/4", "+3/4", "+2/4", "+1/4", "+5/4",
        "+6/8", "+3/8", "!bass", "!guitar", "!piano", "!organ", "!lead", "!pad", "!fx",
        "+bass; +guitar; +piano; +organ; +lead; +pad; +fx", "-piano !organ"};
    return queries;
}

std::string DeletedMessage(int count, StyleListKind kind) {
    return std::to_string(count) + " style(s) was/were deleted from the current " +
           (kind == StyleListKind::Favorites ? "list !" : "playlist !");
}

StylePlaylist::StylePlaylist(platform::Paths paths) : paths_(std::move(paths)) {
    playlist_.File = paths_.Lists() + "/" + std::string(CurrentPlaylistName);
    favorites_.File = paths_.Lists() + "/" + std::string(FavoritesName);
}

StyleList& StylePlaylist::List(StyleListKind kind) {
    return kind == StyleListKind::Playlist ? playlist_ : kind == StyleListKind::SearchResult ? result_ : favorites_;
}

const StyleList& StylePlaylist::List(StyleListKind kind) const {
    return kind == StyleListKind::Playlist ? playlist_ : kind == StyleListKind::SearchResult ? result_ : favorites_;
}

std::string StylePlaylist::ListName() const { return std::string(platform::FileNamePart(playlist_.File)); }

std::string StylePlaylist::Caption() const {
    return std::string(playlist_text::Caption) + ": " + ListName() + " - Styles: " + std::to_string(playlist_.Lines.size());
}

std::optional<std::string> StylePlaylist::FileOf(std::string_view line) const { return FindStyleFile(LinePath(line), paths_); }

// --- Files ---------------------------------------------------------------------------------

bool StylePlaylist::OpenCurrent(const std::string& file, std::string& error) {
    StyleList opened{file.empty() ? paths_.Lists() + "/" + std::string(CurrentPlaylistName) : file, {}};
    std::error_code missing;
    if (std::filesystem::exists(opened.File, missing) && !ReadListFile(opened.File, opened.Lines, error)) {
        // The list open before stays: nothing is ever written into a file that is no list.
        error = opened.File + ": " + error;
        return false;
    }
    playlist_ = std::move(opened);
    return true;
}

bool StylePlaylist::OpenPlaylist(const std::string& file, std::string& message) {
    std::vector<std::string> lines;
    if (!ReadChosenList(file, lines, message)) return false;
    playlist_ = StyleList{file, std::move(lines)};
    message = std::string(playlist_text::NewPlaylistLoaded);
    return true;
}

bool StylePlaylist::AddPlaylist(const std::string& file, std::string& message) {
    std::vector<std::string> lines;
    if (!ReadChosenList(file, lines, message)) return false;
    playlist_.Lines.insert(playlist_.Lines.end(), lines.begin(), lines.end());
    return true;
}

bool StylePlaylist::SavePlaylist(const std::string& file, std::string& error) {
    if (!file.empty()) playlist_.File = file;
    return SaveList(StyleListKind::Playlist, error);
}

bool StylePlaylist::OpenSearchResult(const std::string& file, std::string& message) {
    std::vector<std::string> lines;
    if (!ReadChosenList(file, lines, message)) return false;
    result_ = StyleList{file, std::move(lines)};
    Selected = result_.Lines.empty() ? -1 : 0;
    return true;
}

bool StylePlaylist::SaveSearchResult(const std::string& file, std::string& error) {
    if (!file.empty()) result_.File = file;
    return SaveList(StyleListKind::SearchResult, error);
}

void StylePlaylist::ClearPlaylist() { playlist_.Lines.clear(); }

void StylePlaylist::ClearSearchResult() {
    result_.Lines.clear();
    Selected = -1;
}

void StylePlaylist::NewPlaylist(const std::string& file) { playlist_ = StyleList{file, {}}; }

std::string StylePlaylist::FileOrDefault(StyleListKind kind) const {
    const StyleList& list = List(kind);
    if (!list.File.empty()) return list.File;
    return kind == StyleListKind::SearchResult ? SearchResultBackupFile(paths_)
                                               : paths_.Lists() + "/" + std::string(CurrentPlaylistName);
}

bool StylePlaylist::SaveList(StyleListKind kind, std::string& error) {
    StyleList& list = List(kind);
    if (list.File.empty()) list.File = FileOrDefault(kind);
    platform::MakeFolders(platform::FolderOf(list.File));
    if (WriteListFile(list.File, list.Lines, error)) return true;
    error = list.File + ": " + error;
    return false;
}

// --- Search --------------------------------------------------------------------------------

SearchOutcome StylePlaylist::Search(std::string_view queryText, bool add, bool sort) {
    SearchOutcome outcome;
    const StyleQuery query = ParseStyleQuery(queryText);
    if (!query.Valid()) {
        outcome.Ok = false;
        outcome.Message = query.Error;
        outcome.Found = static_cast<int>(result_.Lines.size());
        return outcome;
    }
    if (!add) ClearSearchResult();
    const FileSizeOf sizeOf = [this](std::string_view path) { return StyleFileSize(path, paths_); };
    for (const std::string& line : playlist_.Lines) {
        if (IsStyleLine(line) && query.Matches(line, sizeOf)) result_.Lines.push_back(line);
    }
    if (sort) std::stable_sort(result_.Lines.begin(), result_.Lines.end(), LessNoCase);
    if (Selected < 0 && !result_.Lines.empty()) Selected = 0;
    outcome.Found = static_cast<int>(result_.Lines.size());
    return outcome;
}

int StylePlaylist::FindNext(std::string_view expression, int from) const {
    const StyleQuery query = ParseStyleQuery(expression);
    if (!query.Valid()) return -1;
    const FileSizeOf sizeOf = [this](std::string_view path) { return StyleFileSize(path, paths_); };
    for (std::size_t i = static_cast<std::size_t>(std::max(from + 1, 0)); i < result_.Lines.size(); ++i)
        if (query.Matches(result_.Lines[i], sizeOf)) return static_cast<int>(i);
    return -1;
}

void StylePlaylist::ShuffleSearchResult(platform::Random& random) {
    auto& lines = result_.Lines;
    for (std::size_t i = lines.size(); i > 1; --i)
        std::swap(lines[i - 1], lines[static_cast<std::size_t>(random.Below(static_cast<int>(i)))]);
}

// --- Maintenance ---------------------------------------------------------------------------

ListChange StylePlaylist::DeleteDuplicates(StyleListKind kind) {
    ListChange change;
    StyleList& list = List(kind);
    std::string error;
    if (!WriteBackup(FileOrDefault(kind), list.Lines, error)) {
        change.Ok = false;
        change.Message = "Nothing was deleted: the backup could not be written (" + error + ") !";
        return change;
    }
    // The key of a style: its file name and size, any case. A style whose file is not found
    // has no size to compare, so it is a duplicate only of the same stored path.
    struct Keyed {
        std::string Key;
        std::size_t Line;
    };
    std::vector<Keyed> keys;
    for (std::size_t i = 0; i < list.Lines.size(); ++i) {
        const std::string_view line = list.Lines[i];
        if (!IsStyleLine(line)) continue;
        const std::string_view path = LinePath(line);
        const std::optional<std::uintmax_t> size = StyleFileSize(path, paths_);
        std::string key = platform::LowerCase(platform::FileNamePart(path)) + '\x01';
        key += size ? std::to_string(*size) : "?" + platform::LowerCase(platform::WithForwardSlashes(path));
        keys.push_back({std::move(key), i});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) { return a.Key < b.Key; });
    std::vector<bool> drop(list.Lines.size(), false);
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (keys[i].Key == keys[i - 1].Key) drop[keys[i].Line] = true;
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < list.Lines.size(); ++i) {
        if (drop[i]) change.RemovedLines.push_back(list.Lines[i]);
        else kept.push_back(list.Lines[i]);
    }
    change.Removed = static_cast<int>(change.RemovedLines.size());
    if (change.Removed == 0) {
        change.Message = DeletedMessage(0, kind);
        return change;
    }
    std::swap(list.Lines, kept);
    if (HasOwnFile(kind) && !SaveList(kind, error)) {
        std::swap(list.Lines, kept);
        change.Ok = false;
        change.Removed = 0;
        change.Message = "Nothing was deleted: the list could not be saved (" + error + ") !";
        return change;
    }
    change.Message = DeletedMessage(change.Removed, kind);
    if (kind == StyleListKind::SearchResult) Selected = list.Lines.empty() ? -1 : std::min<int>(Selected, static_cast<int>(list.Lines.size()) - 1);
    return change;
}

bool StylePlaylist::HasOwnFile(StyleListKind kind) const {
    return kind != StyleListKind::SearchResult || !result_.File.empty();
}

bool StylePlaylist::ShouldRemove(std::string_view line, RemovalKind removal) const {
    if (!IsStyleLine(line)) return false;
    const std::string_view path = LinePath(line);
    if (removal == RemovalKind::NotFound) return !FindStyleFile(path, paths_).has_value();
    // Corrupted and bass-less apply to the program's own styles only.
    if (!IsOwnStyleFileName(path)) return false;
    const std::optional<std::string> file = FindStyleFile(path, paths_);
    if (!file) return false;  // not found is the other item's business
    if (removal == RemovalKind::WithoutBass && LineHasBassTag(line)) return false;
    const StyleFacts facts = ReadStyleFactsOfFile(*file);
    if (removal == RemovalKind::Corrupted) return !facts.Readable;
    return facts.Readable && !facts.HasBass();
}

ListChange StylePlaylist::RemoveEntries(StyleListKind kind, RemovalKind removal,
                                        const std::function<void(int, int)>& progress) {
    return RemoveEntries(kind, std::vector<RemovalKind>{removal}, progress);
}

ListChange StylePlaylist::RemoveEntries(StyleListKind kind, const std::vector<RemovalKind>& removals,
                                        const std::function<void(int, int)>& progress) {
    ListChange change;
    StyleList& list = List(kind);
    std::string error;
    if (!WriteBackup(FileOrDefault(kind), list.Lines, error)) {
        change.Ok = false;
        change.Message = "Nothing was removed: the backup could not be written (" + error + ") !";
        return change;
    }
    std::vector<std::string> lines = list.Lines;
    const int total = static_cast<int>(lines.size());
    for (int i = total - 1; i >= 0; --i) {
        const auto at = static_cast<std::size_t>(i);
        const bool remove = std::any_of(removals.begin(), removals.end(),
                                        [&](RemovalKind removal) { return ShouldRemove(lines[at], removal); });
        if (remove) {
            change.RemovedLines.insert(change.RemovedLines.begin(), lines[at]);
            lines.erase(lines.begin() + i);
        }
        if (progress) progress(total - i, total);
    }
    change.Removed = static_cast<int>(change.RemovedLines.size());
    change.Message = DeletedMessage(change.Removed, kind);
    if (change.Removed == 0) return change;
    const std::string deletedFile = paths_.Lists() + "/" + std::string(DeletedEntriesName);
    platform::MakeFolders(paths_.Lists());
    if (!AppendListFile(deletedFile, change.RemovedLines, error)) {
        change.Ok = false;
        change.Removed = 0;
        change.Message = "Nothing was removed: \"" + deletedFile + "\" could not be written (" + error + ") !";
        return change;
    }
    change.WroteDeletedEntries = true;
    std::swap(list.Lines, lines);
    if (HasOwnFile(kind) && !SaveList(kind, error)) {
        std::swap(list.Lines, lines);
        change.Ok = false;
        change.Message = "The list could not be saved (" + error + "); the removed entries are in \"" + deletedFile +
                         "\" !";
        return change;
    }
    change.Message += "\r\n\r\nThese entries can be found in \"" + deletedFile + "\"";
    if (kind == StyleListKind::SearchResult)
        Selected = list.Lines.empty() ? -1 : std::min<int>(Selected, static_cast<int>(list.Lines.size()) - 1);
    return change;
}

bool StylePlaylist::DeleteEntry(StyleListKind kind, int index) {
    StyleList& list = List(kind);
    if (index < 0 || static_cast<std::size_t>(index) >= list.Lines.size()) return false;
    list.Lines.erase(list.Lines.begin() + index);
    if (kind == StyleListKind::SearchResult && Selected >= static_cast<int>(list.Lines.size()))
        Selected = static_cast<int>(list.Lines.size()) - 1;
    if (kind == StyleListKind::Favorites) {
        std::string error;
        return SaveList(kind, error);
    }
    return true;
}

// --- Adding --------------------------------------------------------------------------------

std::optional<std::string> StylePlaylist::LineForStyle(const std::string& file, const std::string& description,
                                                       std::string& error) const {
    const StyleFacts facts = ReadStyleFactsOfFile(file);
    if (!facts.Readable) {
        error = facts.Problem;
        return std::nullopt;
    }
    PlaylistEntry entry;
    entry.Path = file;
    entry.Tempo = facts.Tempo;
    entry.Metrum = facts.Metrum;
    // A '|' of the user's text would start a field of its own.
    entry.Description = description == "???" ? std::string() : description;
    std::replace(entry.Description.begin(), entry.Description.end(), '|', '/');
    entry.Tags = facts.Tags;
    entry.Tagged = true;
    return FormatPlaylistLine(entry);
}

int StylePlaylist::AddStyles(const std::vector<std::string>& files, const std::string& description,
                             std::vector<std::string>* skipped, StyleListKind kind) {
    int added = 0;
    StyleList& list = List(kind);
    for (const std::string& file : files) {
        std::string error;
        if (std::optional<std::string> line = LineForStyle(file, description, error)) {
            list.Lines.push_back(std::move(*line));
            ++added;
        } else if (skipped != nullptr) {
            skipped->push_back(file + ": " + error);
        }
    }
    return added;
}

int StylePlaylist::CopyStyles(StyleListKind kind, const std::string& folder, bool move,
                              std::vector<std::string>& failed) {
    namespace fs = std::filesystem;
    int done = 0;
    for (std::string& line : List(kind).Lines) {
        if (!IsStyleLine(line)) continue;
        const std::optional<std::string> file = FileOf(line);
        if (!file) {
            failed.push_back(std::string(LinePath(line)) + ": not found");
            continue;
        }
        const std::string target = folder + "/" + std::string(platform::FileNamePart(*file));
        std::error_code error;
        if (fs::exists(target, error)) {
            failed.push_back(target + ": exists already");
            continue;
        }
        if (!fs::copy_file(*file, target, error)) {
            failed.push_back(target + ": " + error.message());
            continue;
        }
        ++done;
        if (!move) continue;
        fs::remove(*file, error);
        const std::string old = line;
        line = target + line.substr(LinePath(line).size());
        if (kind != StyleListKind::Playlist) {
            for (std::string& entry : playlist_.Lines)
                if (entry == old) entry = line;
        }
    }
    return done;
}

bool StylePlaylist::AddTerms(StyleListKind kind, int index, std::string_view terms) {
    StyleList& list = List(kind);
    if (index < 0 || static_cast<std::size_t>(index) >= list.Lines.size()) return false;
    std::string text(terms);
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    if (text.empty()) return false;
    const std::string old = list.Lines[static_cast<std::size_t>(index)];
    list.Lines[static_cast<std::size_t>(index)] = old + "|" + text;
    // The same style in the playlist gets the terms too, so the next search finds them.
    if (kind != StyleListKind::Playlist) {
        for (std::string& line : playlist_.Lines)
            if (line == old) line = old + "|" + text;
    }
    return true;
}

// --- Favourites ----------------------------------------------------------------------------

bool StylePlaylist::OpenFavorites(std::string& error) {
    std::vector<std::string> lines;
    std::error_code missing;
    if (std::filesystem::exists(favorites_.File, missing) && !ReadListFile(favorites_.File, lines, error)) {
        error = favorites_.File + ": " + error;
        return false;
    }
    favorites_.Lines = std::move(lines);
    return true;
}

bool StylePlaylist::IsFavorite(const std::string& file) const {
    return std::any_of(favorites_.Lines.begin(), favorites_.Lines.end(),
                       [&](const std::string& line) { return LinePath(line) == file; });
}

bool StylePlaylist::AddFavorite(const std::string& file, std::string& error) {
    if (IsFavorite(file)) return true;  // once is enough
    std::optional<std::string> line;
    for (const std::string& known : playlist_.Lines)
        if (LinePath(known) == file) line = known;
    if (!line) line = LineForStyle(file, {}, error);
    if (!line) {
        error = file + ": " + error;
        return false;
    }
    if (!WriteListFile(paths_.Lists() + "/" + std::string(FavoritesBackupName), favorites_.Lines, error)) return false;
    favorites_.Lines.push_back(*line);
    return SaveList(StyleListKind::Favorites, error);
}

bool StylePlaylist::ExportFavorites(std::string& message) {
    const std::string file = paths_.Lists() + "/" + std::string(FavoritesExportName);
    std::string error;
    if (!WriteListFile(file, favorites_.Lines, error)) {
        message = file + ": " + error + " !";
        return false;
    }
    message = std::string(playlist_text::FavoritesExported);
    return true;
}

int StylePlaylist::ExportToPlaylist(StyleListKind kind) {
    if (kind == StyleListKind::Playlist) return 0;
    const std::vector<std::string>& lines = List(kind).Lines;
    playlist_.Lines.insert(playlist_.Lines.end(), lines.begin(), lines.end());
    return static_cast<int>(lines.size());
}

std::string StylePlaylist::ExportForEditor(StyleListKind kind, std::string& error) const {
    const std::string_view name = kind == StyleListKind::Playlist       ? PlaylistExportName
                                  : kind == StyleListKind::SearchResult ? SearchResultExportName
                                                                        : FavoritesEditorExportName;
    const std::string file = paths_.Lists() + "/" + std::string(name);
    platform::MakeFolders(paths_.Lists());
    if (WriteListFile(file, List(kind).Lines, error)) return file;
    error = file + ": " + error;
    return {};
}

}  // namespace chordella::library
