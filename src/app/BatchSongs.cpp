#include "app/BatchSongs.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "app/SongCreator.h"
#include "app/StateParts.h"
#include "core/Session.h"
#include "core/StyleContainer.h"
#include "data/SongFile.h"
#include "library/SongSnapshot.h"
#include "library/Songlist.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace chordella::app {

namespace {

std::string StampNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04d.%02d.%02d-%02d.%02d.%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// The name of song `number` of a run: "Random-" + the run's time + "-" + two digits.
std::string PlannedName(const std::string& stamp, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", number);
    return "Random-" + stamp + "-" + digits;
}

}  // namespace

BatchSongs::BatchSongs(core::Session& session, AppState& app, SongCreator& creator, library::Songlist& songlist,
                       std::string outputFolder, std::string stamp)
    : session_(session), app_(app),
      creator_(creator),
      songlist_(songlist),
      folder_(std::move(outputFolder)),
      stamp_(stamp.empty() ? StampNow() : std::move(stamp)) {}

void BatchSongs::Ask(std::function<void(int)> ready) {
    session_.Transport().Stop();
    platform::Prompter& prompter = session_.Prompter();
    prompter.InputThen(std::string(batch_text::Title), std::string(batch_text::AskSongs),
                       std::string(batch_text::DefaultSongs),
                       [this, ready, &prompter](std::optional<std::string> text) {
                           if (!text) {
                               ready(0);
                               return;
                           }
                           const std::optional<int> count = ParseSongCount(*text);
                           if (!count) {
                               prompter.Inform(std::string(batch_text::WrongSongs));
                               ready(0);
                               return;
                           }
                           prompter.AskThen(std::string(batch_text::SongsToSonglist),
                                            [this, ready, count](platform::Answer answer) {
                                                if (answer == platform::Answer::Cancel) {
                                                    ready(0);
                                                    return;
                                                }
                                                Begin(*count, answer == platform::Answer::No);
                                                ready(count_);
                                            });
                       });
}

void BatchSongs::Begin(int count, bool clearSonglist) {
    session_.Transport().Stop();
    count_ = count < 0 ? 0 : (count > MaxBatchSongs ? MaxBatchSongs : count);
    taken_ = 0;
    made_ = 0;
    stopped_ = false;
    stopReason_.clear();
    if (clearSonglist) songlist_.Clear();
}

std::string BatchSongs::NextFile() const {
    const std::string stem = folder_ + "/" + PlannedName(stamp_, taken_ + 1);
    // Songs of another run in the same second keep their files.
    std::string path = stem + ".vxa";
    for (int again = 2; platform::FileExists(path); ++again) path = stem + "-" + std::to_string(again) + ".vxa";
    return path;
}

BatchSongStep BatchSongs::Step() {
    BatchSongStep step;
    lastWritten_.clear();
    if (Done()) {
        step.Error = stopped_ ? "not made: " + stopReason_ : "not made: the run has its songs";
        return step;
    }
    step.File = NextFile();
    ++taken_;
    if (!platform::MakeFolders(folder_)) {
        step.Error = "the folder " + folder_ + " cannot be made";
        step.Fatal = true;
        stopped_ = true;
        stopReason_ = step.Error;
        return step;
    }

    creator_.BatchSong();
    data::ArrangementState& song = app_.arrangement;
    if (song.Chords.IsEmpty()) {
        step.Error = "no chords were made";
        return step;
    }
    // The style loaded now is the song's style; without one the song keeps the one it named.
    const data::StyleState& style = session_.Style().style;
    std::string styleReference = style.StyleLoaded ? data::StoredStyleReference(style.StylePath) : std::string();
    if (styleReference.empty() && song.HasStyleReference) styleReference = song.StyleReference;
    const auto bytes = data::WriteSongFile(data::SongFileContentOf(song, styleReference));
    std::string error;
    if (!platform::WriteFileAtomically(step.File, bytes, error)) {
        // A folder that took no song (full disk, no rights) takes no later one either.
        step.Error = "not saved (" + error + ")";
        step.Fatal = true;
        stopped_ = true;
        stopReason_ = step.File + ": " + step.Error;
        return step;
    }
    song.ArrangementPath = step.File;
    lastWritten_ = step.File;

    const std::string title(platform::FileNamePart(step.File));
    songlist_.TitleField = title;
    if (!songlist_.Append(library::CaptureSongEntry(session_, SongStateOf(app_), title))) {
        step.Error = "saved, but its path does not fit into the songlist";
        return step;
    }
    step.Made = true;
    ++made_;
    return step;
}

void BatchSongs::Finish() { session_.Transport().Stop(); }

BatchJob BatchSongs::Job() const {
    BatchJob job;
    job.Mode = BatchMode::Songs;
    job.OutputFolder = folder_;
    for (int n = 1; n <= count_; ++n) job.Inputs.push_back(PlannedName(stamp_, n) + ".vxa");
    return job;
}

std::string BatchSongs::Process(int, const std::string&) {
    const BatchSongStep step = Step();
    return step.Made ? std::string() : step.Error;
}

std::vector<std::string> BatchSongs::LastWritten() const {
    if (lastWritten_.empty()) return {};
    return {lastWritten_};
}

}  // namespace chordella::app
