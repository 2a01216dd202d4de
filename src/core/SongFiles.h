#pragma once
// The song operations of the song menu, the main window and the editor: open, save,
// save as, quick save, quick load, clear and new. They work on the session's song
// (the arrangement state they are given), ask and inform through its prompter, and reach
// the transport, the style and the clock through its song host (data/ArrangementLink.h).
//
// A file that cannot be read or is damaged is refused with a message and leaves the song
// in memory as it was; saving writes a temporary file and renames it, so an old file is
// never left half-written. Control thread.
//
// The operations that ask (open, save as, clear, new) never wait for the answer: they ask,
// return, and go on when the answer arrives, while the control loop keeps playing. Their
// result is answered at once when every question was answered before they returned (the
// command line, scripted tests); otherwise they answer Asking (false for the bool ones) and
// hand the outcome to `done` later. SongFiles may be a temporary: what goes on later keeps
// a copy.

#include <functional>
#include <string>

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core

namespace chordella::data {

struct ArrangementState;

// Who asked for a song to be opened; it decides the questions and what follows.
enum class OpenSource {
    Dialog,      // the main window's open button or the Open menu item
    FirstStart,  // the demo song at the first start
    SongPlayer,  // the song player or the songlist drives the open
    Shuffle,     // the main window's shuffle play
    StopButton,  // the main window's stop button
    QuickLoad,   // the editor's "Quickload"
    Path,        // any other caller with a path (command line, lists)
};

enum class OpenOutcome {
    Opened,
    Imported,
    Cancelled,
    Refused,
    Asking,  // a question or the open dialog is open; the outcome goes to `done`
};

using OpenDone = std::function<void(OpenOutcome)>;
using SongDone = std::function<void(bool)>;

struct OpenRequest {
    OpenSource Source = OpenSource::Dialog;
    std::string Path;             // empty: choose in the open dialog
    bool FromPlayButton = false;  // a play button opened it: play an imported MIDI song
};

// The quick-save file, in the data home's SONGS folder.
inline constexpr const char* QuickSaveFileName = "Chordellatemp.vxa";
// The demo song opened at the first start, in the same folder.
inline constexpr const char* DemoSongFileName = "demo2.vxa";
// Files larger than this are not songs (a full song with a full melody is ~0.3 MB).
inline constexpr std::size_t MaxSongFileBytes = 16 * 1024 * 1024;

// What a song longer than the chord memory is told when it is opened: "song cut at measure
// 750: the chord memory holds 750 measures" (4/4; the measures of `measureUnits`).
std::string SongCutNotice(int measureUnits);

class SongFiles {
public:
    // `arrangement` is the session's song; of the options, "Autoload style" and the editor's
    // pop-up are read.
    SongFiles(core::Session& session, ArrangementState& arrangement, const core::Options& options)
        : session_(session), arrangement_(arrangement), options_(options) {}

    OpenOutcome Open(const OpenRequest& request, OpenDone done = {});
    // "Sa&ve - F12": to the song's own file, or through the dialog for a new song.
    bool Save(SongDone done = {});
    // "&Save as ...": always through the dialog.
    bool SaveAs(SongDone done = {});
    // Writes the song to a path without a dialog; the path becomes the song's file.
    bool SaveTo(const std::string& path);
    // "Quicksave" and "Quickload" of the editor.
    bool QuickSave();
    OpenOutcome QuickLoad(OpenDone done = {});
    // "C&lear": asks "Clear Chordmemory ?" when there is something to lose.
    bool Clear(SongDone done = {});
    // "&New": clears, then asks for the measures of the new song.
    bool New(SongDone done = {});

    std::string QuickSavePath() const;
    std::string DemoSongPath() const;

private:
    // The open once its question was answered: the file is chosen, or `request.Path` is opened.
    void OpenConfirmed(const OpenRequest& request, OpenDone finish);
    OpenOutcome OpenPath(const OpenRequest& request, const std::string& path);
    void ClearNow();
    bool WriteSong(const std::string& path, bool becomesSongFile);
    bool CanSave();
    std::string StyleReferenceToSave();
    void AfterOpen(const OpenRequest& request, bool shortForm, bool cut, const std::string& path);
    void ShowSongTitle(const std::string& path);

    core::Session& session_;
    ArrangementState& arrangement_;
    const core::Options& options_;
};

}  // namespace chordella::data
