#pragma once
// What the songlist window asks of the core, and the copy of the list it shows. The window
// sends one request per button, click or key; the core answers with a fresh view whenever
// the display snapshot's SonglistSerial has moved.

#include <string>
#include <vector>

namespace chordella::desktop {

enum class SonglistAction {
    Load,                // "Load": the open dialog and its question
    Save,                // "Save"
    AddCurrent,          // "Add File && Configuration to Songlist" at Index (−1: the top)
    Edit,                // "Edit" the entry Index
    Delete,              // "Delete" the entry Index
    NewClear,            // "New / Clear"
    Enqueue,             // a click on the entry Index
    QueueSelection,      // "Add selected titles to playlist" (Selection), then play
    Play,                // "Play " + count: the queue, or the entry Index
    PlayNow,             // double-click or Enter on the entry Index: it plays at once
    Next,                // the next song at once
    Previous,            // the song before again
    StopSet,             // stops playback and the set
    SessionMode,         // the session button: asks for the repeats
    Move,                // an entry dragged from Index to To
    SetShuffle,          // "Shuffle playback" (On)
    SetLoadInstruments,  // "Loading instruments with songs" (On)
    SetAutoStart,        // the song player's "AutoStart" (On)
    SetRepeat,           // the song player's "Repeat" (On): the song that ended plays again
    SetUseMci,           // the song player's "Use MCI" (On): MIDI files play as they are
    SetTitle,            // the title field (Text)
    ImportFiles,         // "Import files": the player's open dialog
};

struct SonglistRequest {
    SonglistRequest() = default;
    SonglistRequest(SonglistAction action) : Action(action) {}  // NOLINT: {Action} reads as the request
    SonglistAction Action = SonglistAction::Play;
    int Index = -1;
    int To = -1;
    std::vector<int> Selection;
    std::string Text;
    bool On = false;
};

struct SonglistRow {
    std::string Title;
    std::string Path;
    std::string Settings;  // "mutes 1,10  octave -1  transpose 2": what the entry changes
};

struct SonglistView {
    std::string Caption;          // "Songlist - DEMO.VXL"
    std::string PlayCaption;      // "Play 3"
    std::vector<SonglistRow> Rows;
    std::vector<int> Queue;       // entry numbers (0-based) in play order
    int Current = -1;             // the entry playing
    std::string NextTitle;
    std::string TitleField;
    bool Shuffle = false;
    bool LoadInstruments = true;
    bool AutoStart = true;
    bool Repeat = false;
    bool UseMci = true;
    bool CreateChords = false;
    bool Running = false;         // the song player runs a set
    int SessionRepeats = 0;       // 0: session mode off
};

}  // namespace chordella::desktop
