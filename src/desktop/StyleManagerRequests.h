#pragma once
// What the "Style-Manager" window asks of the core, and the copy of the manager it shows.
// The window sends one request per button, click or key and re-reads the view whenever its
// Serial has moved.

#include <cstdint>
#include <string>
#include <vector>

namespace chordella::desktop {

enum class StyleManagerAction {
    ShowGroup,       // a node of the group tree (Index: its number, 1 …)
    SelectEntry,     // a click on entry Index
    AddOrEdit,       // " Add or Edit current Style " with the description field's Text
    Remove,          // "Rem."
    RemoveAll,       // "Rem. all"
    MoveEntry,       // an entry dragged from Index to To
    SetFolder,       // a folder of the browser (Text)
    SetMask,         // the mask box's Enter (Text)
    SelectFile,      // a click on file Index
    LoadEntry,       // "Load" under the entry list
    LoadFile,        // "Load" under the file list
    Play,            // "Play": the style of the list clicked last, its Basic from the start
    Stop,            // "Stop"
    AddListed,       // the arrow button: the listed files to the style playlist
    ShowPlaylist,    // the count label
    SetRandom,       // "Random" (On)
    DropFile,        // a file (Text) dropped on the entry list at Index: loaded, then added
};

struct StyleManagerRequest {
    StyleManagerRequest() = default;
    StyleManagerRequest(StyleManagerAction action) : Action(action) {}  // NOLINT: {Action} reads as the request
    StyleManagerAction Action = StyleManagerAction::Stop;
    int Index = -1;
    int To = -1;
    std::string Text;
    bool On = false;
};

struct StyleManagerView {
    std::uint64_t Serial = 0;
    // The window already shows this Serial: nothing else is filled in.
    bool Unchanged = false;
    int Group = 1;
    std::vector<std::string> Entries;  // the entry lines without their marks and path
    std::vector<std::string> EntryPaths;
    int SelectedEntry = -1;
    std::string Info;
    std::string Description;
    std::string Folder;
    std::vector<std::string> SubFolders;
    std::vector<std::string> Files;
    int SelectedFile = -1;
    std::string Mask;
    std::string MaskHint;   // "Currently listed: N files; …"
    std::string CountText;  // "N files"
    bool Random = false;
};

}  // namespace chordella::desktop
