#pragma once
// What the "Style-Playlist" window asks of the core, and the copy of the lists it shows.
// Every request is answered with a fresh view; a message to show comes with it.

#include <string>
#include <vector>

namespace chordella::desktop {

enum class PlaylistAction {
    Read,                 // only the view
    Search,               // "Search" with Text (the query), Add and Sort
    FindNext,             // "Find next" with Text (the expression) from the selected line
    Select,               // a click on the result line Index
    Load,                 // a double-click on the result line Index: the style is loaded
    SetOptions,           // "Random", "Next", "Find" (Random, Next, Find; Text: the find expression)
    NewPlaylist,          // "New playlist" named Text
    OpenPlaylist,         // "Open playlist" Text
    AddPlaylist,          // "Add playlist" Text
    SavePlaylist,         // "Save playlist" (Text: the file; empty: its own)
    ClearPlaylist,        // "Clear playlist" (asked before)
    AddStyles,            // "Add styles": the files of Files with the description Text
    CopyStyles,           // "Copy styles": the files of the search result into the folder Text
    MoveStyles,           // "Move styles": the same, moving them (the lines follow)
    RemoveCorrupted,      // "Remove corrupted vxs-styles" (asked before)
    RemoveWithoutBass,    // "Remove vxs-styles without bass" (asked before)
    RemoveNotFound,       // "Remove not found styles" of List (asked before)
    DeleteDuplicates,     // "Delete duplicates" of List
    DeleteEntry,          // "Delete entry" Index of List
    ExportToPlaylist,     // "Export to playlist" of List
    OpenFavorites,        // "Open favorites list": the favourites become the shown list
    AddFavorite,          // the selected result line to the favourites
    OpenSearchResult,     // "Open search result" Text
    SaveSearchResult,     // "Save search result" Text
    ClearSearchResult,    // "Clear search result" (asked before)
    ShuffleSearchResult,  // "Shuffle search results"
    ImportFiles,          // "Import styles from explorer": Files (Clear: the list is emptied first)
    AddTerms,             // "Add term(s)": Text to the selected line
    BadStyle,             // "Bad style": the selected line leaves the playlist (asked before)
    ReadList,             // the lines of List with their files (Listed, ListedFiles), for the style browser
    ExportToEditor,       // "Export to text editor" of List: the file written comes back in ExportedFile
    ImportFromSonglist,   // "Import styles from Songlist": the styles the songs name (Clear: the list is emptied first)
    LoadFile,             // "Recent style": the style file Text is loaded again
    SelectNumber,         // "Style number": the result line Index is selected and loaded
};

// Which list a maintenance request works on.
enum class PlaylistListChoice { Playlist, SearchResult, Favorites };

struct PlaylistRequest {
    PlaylistRequest() = default;
    PlaylistRequest(PlaylistAction action) : Action(action) {}  // NOLINT: {Action} reads as the request
    PlaylistAction Action = PlaylistAction::Read;
    PlaylistListChoice List = PlaylistListChoice::Playlist;
    int Index = -1;
    std::string Text;
    std::vector<std::string> Files;
    bool Add = false;
    bool Sort = false;
    bool Random = false;
    bool Next = false;
    bool Find = false;
    bool Clear = false;
};

struct PlaylistView {
    std::string Caption;              // "Style-Playlist: StylePlayList.gen - Styles: 35"
    std::vector<std::string> Lines;   // the search result (or the favourites after "Open favorites list")
    int Found = 0;                    // "Found:"
    int Selected = -1;                // "No:" is Selected + 1
    bool Random = false;
    bool Next = false;
    bool Find = false;
    std::string Message;              // to show after the request; empty: nothing to say
    // Only for ReadList: the lines of the list asked for, and each line's style file on this
    // machine (empty when it is not found).
    std::vector<std::string> Listed;
    std::vector<std::string> ListedFiles;
    std::string ExportedFile;         // after ExportToEditor: the file to open in a text editor
    std::vector<std::string> Recent;  // the styles loaded from this window, the latest first
};

}  // namespace chordella::desktop
