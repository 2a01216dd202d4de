#pragma once
// The style playlist and its two companions: the search result (the hits the window shows)
// and the favourites. The playlist is a text list of style files with tempo, metrum,
// description and instrument tags (library/PlaylistLine.h); the search language is in
// library/StyleQuery.h; the files in library/PlaylistFiles.h.
//
// Each operation here is one menu item or button done in full; the questions the user is
// asked first ("Do you really want to check all styles …?") are the caller's, with the
// texts below. Bulk changes write the list's .bak first; entries removed for a reason are
// added to "Deleted_Entries.txt" before the list is rewritten; every save is a temporary
// file renamed over the old one.
//
// Control thread only.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/PlaylistFiles.h"
#include "library/PlaylistLine.h"
#include "library/StyleQuery.h"
#include "platform/Paths.h"

namespace chordella::platform { class Random; }

namespace chordella::library {

// The program's texts.
namespace playlist_text {
inline constexpr std::string_view Caption = "Style-Playlist";
inline constexpr std::string_view CheckAllStyles =
    "Do you really want to check all styles - this may take several minutes?";
inline constexpr std::string_view AskDescription = "Provide a short description for subsequent searches !";
inline constexpr std::string_view AskBatchDescription = "Provide a short description or enter \"???\" !";
inline constexpr std::string_view AskTerms = "Add search term(s), e.g. Genre  ...";
inline constexpr std::string_view NoLineForTerms = "Add term(s) to currently selected style!";
inline constexpr std::string_view FindTitle = "Find ...";
inline constexpr std::string_view AskFindExpression = "Provide a description for subsequent searches !";
inline constexpr std::string_view RemoveBadStyle = "Do you really want to remove the current style from the playlist?";
inline constexpr std::string_view NewPlaylistLoaded = "A new Style-Playlist was loaded !\r\n\r\nPlease search for styles !";
inline constexpr std::string_view ClearPlaylist = "Would you really like to clear the current play list ?";
inline constexpr std::string_view ClearSearchList = "Would you really like to clear the current search list ?";
inline constexpr std::string_view ClearBeforeImport = "Should the existing list be deleted first?";
inline constexpr std::string_view FavoritesExported = "The favoriteslist has been exported to \"StyleFavorites.txt\" !";
inline constexpr std::string_view RandomHint = "Active for random style selection";
inline constexpr std::string_view AddHint = "Do not clear list, but add to list";
inline constexpr std::string_view NextHint = "Select next listed style ";
inline constexpr std::string_view FindHint = "Select next style that matches the search criterion";
}  // namespace playlist_text

// The prepared queries of the search box, in the order offered.
const std::vector<std::string_view>& PreparedQueries();

enum class StyleListKind { Playlist, SearchResult, Favorites };

// One list and the file it belongs to (empty: not saved yet).
struct StyleList {
    std::string File;
    std::vector<std::string> Lines;
};

enum class RemovalKind {
    NotFound,     // "Remove not found styles"
    Corrupted,    // "Remove corrupted vxs-styles"
    WithoutBass,  // "Remove vxs-styles without bass"
};

// What a bulk change did. `Message` is the text to show; with Ok false it says why nothing
// was changed.
struct ListChange {
    bool Ok = true;
    int Removed = 0;
    std::vector<std::string> RemovedLines;
    bool WroteDeletedEntries = false;
    std::string Message;
};

struct SearchOutcome {
    bool Ok = true;
    std::string Message;  // the query's fault, when not Ok
    int Found = 0;        // lines of the result list after the search
};

class StylePlaylist {
public:
    explicit StylePlaylist(platform::Paths paths);

    const platform::Paths& Paths() const { return paths_; }
    StyleList& List(StyleListKind kind);
    const StyleList& List(StyleListKind kind) const;
    // "Style-Playlist: " + list name + " - Styles: " + count.
    std::string Caption() const;

    // --- Files ---------------------------------------------------------------------------
    // The current playlist: `file` when given (the settings' "StylePL"), else
    // "StylePlayList.gen" of LISTS. A missing file is an empty list; a damaged one leaves
    // the list empty and says why.
    bool OpenCurrent(const std::string& file, std::string& error);
    // "Open playlist": the file replaces the current playlist. Missing: name + " not found !".
    bool OpenPlaylist(const std::string& file, std::string& message);
    // "Add playlist": the file's lines are appended.
    bool AddPlaylist(const std::string& file, std::string& message);
    // "Save playlist" (to `file`, or the list's own file when empty) and the save at exit.
    bool SavePlaylist(const std::string& file, std::string& error);
    bool OpenSearchResult(const std::string& file, std::string& message);
    bool SaveSearchResult(const std::string& file, std::string& error);
    void ClearPlaylist();
    void ClearSearchResult();
    // "New playlist": an empty list that will be saved under `file`.
    void NewPlaylist(const std::string& file);

    // --- Search ----------------------------------------------------------------------------
    // "Search": unless `add`, the result is cleared first; every style line of the playlist
    // that matches is added; with `sort` the result is sorted (case-insensitively).
    SearchOutcome Search(std::string_view queryText, bool add, bool sort);
    // Find-next: the first result line after the selected one (from `from` + 1) that matches
    // the expression (the query language); −1 when none up to the end.
    int FindNext(std::string_view expression, int from) const;
    // "Shuffle search results".
    void ShuffleSearchResult(platform::Random& random);

    // --- Maintenance -----------------------------------------------------------------------
    // "Delete duplicates": same file name and same size (any case) is one style; the first
    // occurrence stays. The list's .bak is written first and the list saved after.
    ListChange DeleteDuplicates(StyleListKind kind);
    // "Remove not found styles", "Remove corrupted vxs-styles", "Remove vxs-styles without
    // bass": walks from the last line to the first; removed lines go to
    // "Deleted_Entries.txt" before the list is saved. `progress` (when given) is called
    // with (done, total) between styles.
    ListChange RemoveEntries(StyleListKind kind, RemovalKind removal,
                             const std::function<void(int, int)>& progress = {});
    // Several checks in one walk, with one backup: a line goes when any of them says so.
    ListChange RemoveEntries(StyleListKind kind, const std::vector<RemovalKind>& removals,
                             const std::function<void(int, int)>& progress = {});
    // "Delete entry" / "Bad style": the line at `index` of the list.
    bool DeleteEntry(StyleListKind kind, int index);

    // --- Adding ----------------------------------------------------------------------------
    // "Add styles": a line per style file (tempo, metrum and instrument tags read from the
    // file, the description given once for all). Files that cannot be read are left out
    // and named in `skipped` ("path: reason"). Returns the number added.
    int AddStyles(const std::vector<std::string>& files, const std::string& description,
                  std::vector<std::string>* skipped = nullptr, StyleListKind kind = StyleListKind::Playlist);
    // The line a style file gets; nullopt (with the reason) when it cannot be read.
    std::optional<std::string> LineForStyle(const std::string& file, const std::string& description,
                                            std::string& error) const;
    // "Copy styles" / "Move styles": the files of the list's style lines into `folder`. A file
    // already there is not replaced (named in `failed`); a moved style's lines (here and in
    // the playlist) get the new path. Returns the number copied or moved.
    int CopyStyles(StyleListKind kind, const std::string& folder, bool move, std::vector<std::string>& failed);
    // "Add term(s)": the text appended after "|" to the line at `index` of the list.
    bool AddTerms(StyleListKind kind, int index, std::string_view terms);

    // --- Favourites ------------------------------------------------------------------------
    bool OpenFavorites(std::string& error);
    // Adds the style to the favourites and saves them ("StyleFavorites.bak" holds the list
    // before); a style that is a favourite already is left as it is.
    bool AddFavorite(const std::string& file, std::string& error);
    bool IsFavorite(const std::string& file) const;
    // "Export to playlist" of the favourites: "StyleFavorites.txt" in LISTS.
    bool ExportFavorites(std::string& message);
    // "Export to playlist" of the search result or favourites: the lines are appended to
    // the current playlist.
    int ExportToPlaylist(StyleListKind kind);
    // "Export to text editor": the list as a text file of its own in LISTS (one per list,
    // written over each time) for a text editor. Returns the file; empty (with the reason
    // in `error`) when it cannot be written.
    std::string ExportForEditor(StyleListKind kind, std::string& error) const;

    // --- Window options read by the random style choice ---------------------------------
    bool RandomTicked = false;  // "Random"
    bool NextTicked = false;    // "Next"
    bool FindTicked = false;    // "Find"
    std::string FindExpression;  // the expression of "Find ..."
    int Selected = -1;          // the selected line of the search result

    // The file of a line on this machine; nullopt when it is not found.
    std::optional<std::string> FileOf(std::string_view line) const;

private:
    std::string FileOrDefault(StyleListKind kind) const;
    bool SaveList(StyleListKind kind, std::string& error);
    // Bulk changes save the list at once; a search result only when it was saved before.
    bool HasOwnFile(StyleListKind kind) const;
    std::string ListName() const;
    bool ShouldRemove(std::string_view line, RemovalKind removal) const;

    platform::Paths paths_;
    StyleList playlist_;
    StyleList result_;
    StyleList favorites_;
};

// "N style(s) was/were deleted from the current playlist !" (the favourites: "current list").
std::string DeletedMessage(int count, StyleListKind kind);

}  // namespace chordella::library
