#pragma once
// The batch processor as the desktop drives it: the start questions and input boxes of a
// mode, the files taken from the style playlist or a folder ("Set path"), the output folder,
// and the run itself, one file per slice of the control loop: after each file the loop runs
// what else is due (ticks, the window's requests) before the next file is taken. Cancel
// stops after the file in hand.
//
// Plain request and view values cross between the threads; the desk lives on the control
// thread. Questions use the prompter's non-waiting forms.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/BatchRun.h"

namespace chordella::core { class Session; }
namespace chordella::library {
class Songlist;
class StylePlaylist;
}  // namespace chordella::library

namespace chordella::app {
struct AppState;
class BatchSongs;
class SongCreator;
}  // namespace chordella::app

namespace chordella::desktop {

struct BatchRequest {
    enum Kind { Read, Start, Cancel, SetSourceFolder, SetOutputFolder };
    Kind What = Read;
    app::BatchMode Mode = app::BatchMode::Check;  // Start
    bool AskDescription = false;        // Start (Convert, Add): a description for the names or lines
};

struct BatchView {
    std::string SourceFolder;           // "Set path": the folder the files come from (empty: none yet)
    std::string OutputFolder;           // where converted styles and songs go
    int PlaylistEntries = 0;            // lines of the style playlist
    bool Asking = false;                // a start question is open
    bool Running = false;               // files are being worked on
    std::string ModeItem;               // the menu item of the run shown
    int FileCount = 0;
    int Done = 0;
    int Errors = 0;
    std::string CurrentFile;
    std::vector<std::string> Log;       // "file: reason" per error, then the run's messages
    std::string Summary;                // once the run ended
    bool Cancelled = false;
    std::uint64_t Serial = 0;           // moves whenever anything above changed
};

// The songlist, the song creator and the style playlist of the program; the batch run's
// private sessions live in the data home of `session`.
struct BatchDeskParts {
    app::AppState& State;  // the program's state, which the song batch makes its songs in
    app::SongCreator& Creator;
    library::Songlist& Songlist;
    library::StylePlaylist& Playlist;
};

class BatchDesk {
public:
    BatchDesk(core::Session& session, BatchDeskParts parts);
    ~BatchDesk();
    BatchDesk(const BatchDesk&) = delete;
    BatchDesk& operator=(const BatchDesk&) = delete;

    BatchView Handle(const BatchRequest& request);
    BatchView View() const;
    // One file of the run in hand (the loop calls it; tests may too). False when none runs.
    bool Slice();

private:
    void Start(const BatchRequest& request);
    void AskSource(app::BatchJob job);
    void AskFolderThen(std::function<void(std::string)> then);
    void Launch(app::BatchJob job);
    void LaunchSongs();
    void ScheduleSlice();
    void Ended();
    void Changed() { ++serial_; }
    // A callback that runs only while the desk exists.
    template <typename F> auto Guarded(F f);

    core::Session& session_;
    BatchDeskParts parts_;
    std::shared_ptr<int> alive_;
    std::string sourceFolder_;
    std::string outputFolder_;
    bool asking_ = false;
    bool askDescription_ = false;
    std::unique_ptr<app::BatchSongs> songs_;
    std::unique_ptr<app::BatchRun> run_;
    bool sliceQueued_ = false;
    std::string summary_;
    std::vector<std::string> log_;
    std::uint64_t serial_ = 0;
};

}  // namespace chordella::desktop
