#include "cli/StylesCommand.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "library/PlaylistLine.h"
#include "library/StylePlaylist.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace chordella::cli {

namespace {

namespace fs = std::filesystem;
using library::StyleListKind;

int Fail(std::FILE* err, const std::string& file, const std::string& reason) {
    std::fprintf(err, "%s: %s\n", file.c_str(), reason.c_str());
    return 1;
}

// A reason that names its file already.
int FailNamed(std::FILE* err, const std::string& reason) {
    std::fprintf(err, "%s\n", reason.c_str());
    return 1;
}

std::string Absolute(const std::string& path) {
    std::error_code ignored;
    return fs::absolute(path, ignored).lexically_normal().string();
}

// The style files named: files as given, folders searched (with their sub-folders) in name order.
bool CollectStyles(const std::vector<std::string>& arguments, std::vector<std::string>& files, std::FILE* err) {
    for (const std::string& argument : arguments) {
        const std::string path = Absolute(argument);
        std::error_code error;
        if (fs::is_directory(path, error)) {
            std::vector<std::string> found;
            const auto options = fs::directory_options::skip_permission_denied;
            for (fs::recursive_directory_iterator it(path, options, error), end; !error && it != end; it.increment(error)) {
                if (it->is_regular_file(error) && library::IsStyleFileName(it->path().string()))
                    found.push_back(it->path().string());
            }
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        } else if (const std::string why = platform::WhyNotAFile(path); !why.empty()) {
            Fail(err, path, why);
            return false;
        } else if (!library::IsStyleFileName(path)) {
            Fail(err, path, "not a style file (.vxs, .sty, .prs, .bcs, .sst, .pcs, .pst, .fps, .scp)");
            return false;
        } else {
            files.push_back(path);
        }
    }
    return true;
}

int Add(library::StylePlaylist& playlist, const StylesCommandFlags& flags, std::FILE* out, std::FILE* err) {
    std::vector<std::string> files;
    if (!CollectStyles(flags.arguments, files, err)) return 1;
    const library::StyleList& list = playlist.List(StyleListKind::Playlist);
    std::string error;
    if (!list.Lines.empty() && !library::WriteBackup(list.File, list.Lines, error))
        return Fail(err, library::BackupPathOf(list.File), error);
    std::vector<std::string> skipped;
    const int added = playlist.AddStyles(files, flags.describe, &skipped);
    for (const std::string& line : skipped) std::fprintf(err, "%s (left out)\n", line.c_str());
    if (added > 0 && !playlist.SavePlaylist({}, error)) return Fail(err, list.File, error);
    std::fprintf(out, "Added %d style(s) to %s; it lists %zu\n", added, list.File.c_str(), list.Lines.size());
    return added > 0 || files.empty() ? 0 : 1;
}

int Search(library::StylePlaylist& playlist, const StylesCommandFlags& flags, std::FILE* out, std::FILE* err) {
    std::string query;
    for (const std::string& part : flags.arguments) query += (query.empty() ? "" : " ") + part;
    const library::SearchOutcome outcome = playlist.Search(query, false, false);
    if (!outcome.Ok) return Fail(err, query, outcome.Message);
    for (const std::string& line : playlist.List(StyleListKind::SearchResult).Lines) {
        const library::PlaylistEntry entry = library::ParsePlaylistLine(line);
        std::string tags = library::TagText(entry.Tags);
        if (!tags.empty()) tags.erase(0, 1);
        std::replace(tags.begin(), tags.end(), '|', ',');
        std::fprintf(out, "%s\t%s\t%s\t%s\t%s\n", entry.Path.c_str(),
                     entry.Tempo > 0 ? std::to_string(entry.Tempo).c_str() : "???", entry.Metrum.c_str(),
                     entry.Description.c_str(), tags.c_str());
    }
    std::fprintf(err, "Found: %d\n", outcome.Found);
    return 0;
}

int Report(const library::ListChange& change, std::FILE* out, std::FILE* err) {
    if (!change.Ok) {
        std::fprintf(err, "%s\n", change.Message.c_str());
        return 1;
    }
    std::string message;
    for (char c : change.Message)
        if (c != '\r') message += c;
    std::fprintf(out, "%s\n", message.c_str());
    return 0;
}

// "styles favorites dedupe" and "styles favorites export": the favourites list's "Delete
// duplicates" and "Export to playlist" ("StyleFavorites.txt").
int Favorites(library::StylePlaylist& playlist, const StylesCommandFlags& flags, std::FILE* out, std::FILE* err) {
    const std::string what = flags.arguments.size() == 1 ? flags.arguments[0] : std::string();
    if (what != "dedupe" && what != "export") return Fail(err, "styles favorites", "give dedupe or export");
    std::string error;
    if (!playlist.OpenFavorites(error)) return Fail(err, playlist.Paths().Lists(), error);
    if (what == "dedupe") return Report(playlist.DeleteDuplicates(StyleListKind::Favorites), out, err);
    std::string message;
    if (!playlist.ExportFavorites(message)) {
        std::fprintf(err, "%s\n", message.c_str());
        return 1;
    }
    std::fprintf(out, "%s\n", message.c_str());
    return 0;
}

}  // namespace

int RunStylesCommand(const StylesCommandFlags& flags, std::FILE* out, std::FILE* err) {
    const platform::Paths paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath());
    std::string error;
    if (!paths.EnsureFolders(&error)) return Fail(err, paths.DataDir(), error);
    library::StylePlaylist playlist(paths);

    if (flags.action == "favorites") return Favorites(playlist, flags, out, err);
    if (flags.action == "favorite") {
        if (flags.arguments.size() != 1) return Fail(err, "styles favorite", "name one style file");
        if (!playlist.OpenFavorites(error)) return FailNamed(err, error);
        const std::string file = Absolute(flags.arguments[0]);
        if (const std::string why = platform::WhyNotAFile(file); !why.empty()) return Fail(err, file, why);
        if (playlist.IsFavorite(file)) {
            std::fprintf(out, "%s is one of the favourites already\n", file.c_str());
            return 0;
        }
        if (!playlist.AddFavorite(file, error)) return FailNamed(err, error);
        std::fprintf(out, "Added %s to %s/%s\n", file.c_str(), paths.Lists().c_str(),
                     std::string(library::FavoritesName).c_str());
        return 0;
    }

    const std::string file = flags.playlist.empty() ? std::string() : Absolute(flags.playlist);
    if (!playlist.OpenCurrent(file, error)) return FailNamed(err, error);
    if (flags.action == "add") return Add(playlist, flags, out, err);
    if (flags.action == "search") return Search(playlist, flags, out, err);
    if (flags.action == "dedupe") return Report(playlist.DeleteDuplicates(StyleListKind::Playlist), out, err);
    if (flags.action == "prune") {
        std::vector<library::RemovalKind> removals = {library::RemovalKind::NotFound, library::RemovalKind::Corrupted};
        if (flags.withoutBass) removals.push_back(library::RemovalKind::WithoutBass);
        return Report(playlist.RemoveEntries(StyleListKind::Playlist, removals), out, err);
    }
    return Fail(err, flags.action, "unknown styles command (add, search, dedupe, prune, favorite, favorites)");
}

}  // namespace chordella::cli
