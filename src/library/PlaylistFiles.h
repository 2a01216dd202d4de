#pragma once
// The files of the style playlist, all in the data home's LISTS folder: the current
// playlist ("StylePlayList.gen"), playlists saved by the user (*.txt), search results
// (*.sea), the favourites ("StyleFavorites.sea", backed up as "StyleFavorites.bak") and
// "Deleted_Entries.txt", which collects the entries removed from a list.
//
// Lists are read whole (CRLF or LF; a line of any length is kept as it is, whatever its
// bytes) and written through a temporary file renamed over the old one, CRLF-terminated as
// lists made on other machines are. Before a bulk change the list is copied to the same
// name with the extension .bak.
//
// Control thread (file operations).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Paths.h"

namespace chordella::library {

inline constexpr std::string_view CurrentPlaylistName = "StylePlayList.gen";
inline constexpr std::string_view FavoritesName = "StyleFavorites.sea";
inline constexpr std::string_view FavoritesBackupName = "StyleFavorites.bak";
inline constexpr std::string_view FavoritesExportName = "StyleFavorites.txt";
inline constexpr std::string_view DeletedEntriesName = "Deleted_Entries.txt";
// What "Export to text editor" writes, one file per list.
inline constexpr std::string_view PlaylistExportName = "Export_Playlist.txt";
inline constexpr std::string_view SearchResultExportName = "Export_SearchResult.txt";
inline constexpr std::string_view FavoritesEditorExportName = "Export_Favorites.txt";
inline constexpr std::string_view PlaylistFilter = "Play-Lists (*.txt)|*.txt";
inline constexpr std::string_view StylePlaylistFilter = "Style-Playlists (*.txt)|*.txt";
inline constexpr std::string_view SearchResultFilter = "Search results (*.sea)|*.sea";

// A list larger than this is refused (about 200 000 lines): it is not a list.
inline constexpr std::size_t MaxListFileBytes = 64 * 1024 * 1024;

// The lines of a text (CRLF, LF or a lone CR end a line; a last line without an end counts;
// empty lines are dropped).
std::vector<std::string> SplitListLines(std::string_view text);
// Reads a list file. False with the reason ("No such file or directory", "larger than …");
// a file with control bytes in a line is binary, not a list, and is refused:
// "not a list of styles: line 2 holds control bytes".
bool ReadListFile(const std::string& path, std::vector<std::string>& lines, std::string& error);
// Writes the lines (CRLF after each) through a temporary file.
bool WriteListFile(const std::string& path, const std::vector<std::string>& lines, std::string& error);
// The file's name with the extension .bak ("Rock.txt" → "Rock.bak"; "StylePlayList.gen" →
// "StylePlayList.bak").
std::string BackupPathOf(const std::string& path);
// Writes the lines as the backup of `path` (the list before a bulk change).
bool WriteBackup(const std::string& path, const std::vector<std::string>& lines, std::string& error);
// Adds lines at the end of a list file (made when missing), keeping what it held.
bool AppendListFile(const std::string& path, const std::vector<std::string>& lines, std::string& error);

// Where the style file of a stored path is on this machine: the path as it is, with '/'
// for '\', below the data home's STYLES folder after a "STYLES" part (any case), or by its
// file name in STYLES; each folder and the name matched without regard to case.
std::optional<std::string> FindStyleFile(std::string_view storedPath, const platform::Paths& paths);
// The size of that file in bytes; nullopt when it is not found.
std::optional<std::uintmax_t> StyleFileSize(std::string_view storedPath, const platform::Paths& paths);

}  // namespace chordella::library
