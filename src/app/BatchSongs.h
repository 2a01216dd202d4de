#pragma once
// "Create random chord progressions" of the batch processor: N songs made one after the
// other with the song creator's settings, each saved as a song file in the output folder
// and added to the songlist under its file name.
//
//   BatchSongs songs(session, creator, songlist, folder);
//   songs.Ask([&](int count) { ... });   // the two questions; 0: the run does not start
//   BatchRun run(songs.Job(), {paths, nullptr, &songs});   // one song per step of the run
//   while (run.Step()) {}
//   songs.Finish();
//
// Control thread. The questions use the prompter's non-waiting forms, so a window keeps
// running while they are open; a step makes one song and returns.

#include <functional>
#include <string>
#include <vector>

#include "app/BatchRun.h"

namespace chordella::core { class Session; }
namespace chordella::library { class Songlist; }

namespace chordella::app {

struct AppState;

class SongCreator;

inline constexpr int MaxBatchSongs = 50;

// What one step did.
struct BatchSongStep {
    bool Made = false;     // a song was saved and added to the songlist
    std::string File;      // the song file (or the one that failed)
    std::string Error;     // why not, when not
    bool Fatal = false;    // the output folder cannot take more songs: the run ends
};

class BatchSongs final : public BatchItemLink {
public:
    // Songs go into `outputFolder` (made when missing); `stamp` names this run's files
    // ("yyyy.mm.dd-hh.nn.ss"; empty: the time now).
    BatchSongs(core::Session& session, AppState& app, SongCreator& creator, library::Songlist& songlist,
               std::string outputFolder, std::string stamp = {});

    // Playback stops; asks how many songs and whether the songlist is cleared first.
    // `ready` gets the number of songs (0 when an answer ended the run) once both were answered.
    void Ask(std::function<void(int count)> ready);
    // Starts without questions: `count` songs (1 … 50), the songlist cleared first or not.
    void Begin(int count, bool clearSonglist);

    int Count() const { return count_; }
    int Made() const { return made_; }
    int Taken() const { return taken_; }
    bool Done() const { return taken_ >= count_ || stopped_; }
    // The output folder took no song (full disk, no rights): the run ends with this reason.
    bool Stopped() const { return stopped_; }
    const std::string& StopReason() const { return stopReason_; }
    // The file the next step writes.
    std::string NextFile() const;
    // The next song: made, saved and added to the songlist.
    BatchSongStep Step();
    // The end of the run: playback stops.
    void Finish();

    // The run's job: one input per song, named after the file it is planned to get.
    BatchJob Job() const;
    // BatchItemLink: a step of the run makes the next song.
    std::string Process(int index, const std::string& item) override;
    std::vector<std::string> LastWritten() const override;

private:
    core::Session& session_;
    AppState& app_;
    SongCreator& creator_;
    library::Songlist& songlist_;
    std::string folder_;
    std::string stamp_;
    int count_ = 0;
    int taken_ = 0;
    int made_ = 0;
    bool stopped_ = false;
    std::string stopReason_;
    std::string lastWritten_;
};

}  // namespace chordella::app
