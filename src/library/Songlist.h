#pragma once
// The songlist: the ordered set of songs of a performance, each a SongEntry line, the file
// it lives in (.vxl), and the play queue of up to 100 entries that the song player takes
// its songs from. Every change to the list empties the queue (the entry numbers would no
// longer name the same songs).
//
// Lines are kept as they were read, so a list is saved back unchanged except for the
// entries the user added or edited. Questions use the prompter's non-waiting forms; the
// operation finishes in the answer's callback.
//
// Control thread only.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/SongEntry.h"

namespace chordella::platform {
class Prompter;
}

namespace chordella::library {

inline constexpr std::size_t PlayQueueCapacity = 100;
// Larger files are not songlists (100 000 entries of 250 characters).
inline constexpr std::size_t MaxSonglistBytes = 25 * 1000 * 1000;

inline constexpr std::string_view OpenSonglistTitle = "Open Songlist ...";
inline constexpr std::string_view SonglistFilter = "Songlist (*.vxl)|*.vxl";
inline constexpr std::string_view SaveSonglistTitle = "Save Songlist ...";
inline constexpr std::string_view SpaceBarMessage =
    "Please use the space bar to start the playback and the following songs !";
inline constexpr std::string_view LoadQuestion =
    "- Add/Insert songs to the current songlist (Yes)\r\n\r\n- Clear songlist first and then add songs to it (No)?";
inline constexpr std::string_view NewClearQuestion =
    "- Yes = Remove current songlist\r\n\r\n- No = Create new chordprogressions (Toggle)";
inline constexpr std::string_view KeepTitleQuestion = "Keep old Songtitle ?";

// Reads a songlist file into its lines (line ends "\r\n" or "\n"; blank lines are
// dropped). False with a readable reason; a file that is not a songlist (a line that is no
// song entry, control bytes) is refused: "not a songlist: line 3 holds control bytes".
bool ReadSonglistFile(const std::string& path, std::vector<std::string>& lines, std::string& error);
// The same for a list's text.
bool ReadSonglistText(std::string_view text, std::vector<std::string>& lines, std::string& error);
// Writes the lines with "\r\n" ends through a temporary file and a rename.
bool WriteSonglistFile(const std::string& path, const std::vector<std::string>& lines, std::string& error);

class Songlist {
public:
    explicit Songlist(platform::Prompter& prompter) : prompter_(prompter) {}

    const std::vector<std::string>& Entries() const { return entries_; }
    const std::string& SonglistPath() const { return path_; }
    // Entry numbers (0-based here) in the order they are to be played.
    const std::vector<int>& PlayQueue() const { return queue_; }
    // "Play " + the queue's count.
    std::string PlayCaption() const;
    // "Songlist - " + the upper-case file name, or "Songlist" without a file.
    std::string Caption() const;

    // Options of the window.
    bool ShufflePlayback = false;   // "Shuffle playback"
    bool LoadInstruments = true;    // "Loading instruments with songs"
    bool CreateChordsToggle = false;
    // The title field: what "Add" and "Edit" give the new entry.
    std::string TitleField;

    // Called after every change of the list, the queue or the file (the window redraws).
    std::function<void()> Changed;

    // "Load": the open dialog, then LoadFrom.
    void Load();
    // Loads a list: with entries present asks whether to insert the file's songs at the
    // top (Yes, the list's file stays) or to replace the list (No).
    void LoadFrom(const std::string& path);
    // Replaces the list without a question or message (start-up). False when unreadable.
    bool OpenQuietly(const std::string& path, std::string& error);
    // "Save": to SonglistPath; a list without a file asks for one first (false until then).
    bool Save();
    // Saves to another file, which becomes the list's file.
    bool SaveTo(const std::string& path);
    // True when entries were added, edited, deleted or moved since the list was opened or saved.
    bool Modified() const { return modified_; }
    // Saves a modified list to its file, first copying the old file to <name>.bak. True when
    // there was nothing to save or it was saved.
    bool SaveIfModified();

    // "Add File && Configuration to Songlist": asks, then inserts `entry` (its title is
    // the title field) at `selected`, at the top when none. A path over 80 characters is
    // refused with a message. `then` gets whether it was added.
    void Add(SongEntry entry, std::optional<int> selected, std::function<void(bool)> then = {});
    // Adds without a question (the command line's --add). False (with a message) when the
    // path does not fit.
    bool Append(const SongEntry& entry);
    // "Edit": replaces the selected entry with `entry` after two questions.
    void Edit(std::optional<int> selected, SongEntry entry);
    // "Delete".
    void Delete(std::optional<int> selected);
    // "New / Clear".
    void NewClear();
    // Empties the list without a question; the list keeps its file (the batch processor's
    // "Clear songlist first and then add songs to it").
    void Clear();
    // Moves an entry (drag and drop); false for numbers outside the list.
    bool Move(int from, int to);

    // A click on an entry: it is queued while fewer than 100 are. False when it was not.
    bool Enqueue(int entry);
    // "Add selected titles to playlist": the queue becomes the selected entries in list order.
    void QueueSelection(std::vector<int> selected);
    void ClearQueue();
    // Takes the first queued entry out of the queue.
    std::optional<int> TakeQueued();

private:
    void ReplaceWith(std::vector<std::string> lines, const std::string& path);
    void ListChanged();
    void EntriesChanged();
    void Notify();
    bool Valid(std::optional<int> index) const;
    bool Refused(const SongEntry& entry);

    platform::Prompter& prompter_;
    std::vector<std::string> entries_;
    std::string path_;
    std::vector<int> queue_;
    bool modified_ = false;
};

}  // namespace chordella::library
