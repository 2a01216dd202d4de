#include "desktop/BatchDesk.h"

#include <functional>

#include "app/BatchSongs.h"
#include "core/Session.h"
#include "library/PlaylistLine.h"
#include "library/StylePlaylist.h"

namespace chordella::desktop {

namespace {

inline constexpr const char* SetPathTitle = "Set path";

// Questions asked one after the other: each gets `next`, which it calls with true to go on
// to the following one or with false to end the start (the run does not begin).
using Next = std::function<void(bool go)>;
using Question = std::function<void(Next)>;

void AskInTurn(std::shared_ptr<std::vector<Question>> questions, std::size_t at, std::function<void()> begin,
               std::function<void()> ended) {
    if (at >= questions->size()) {
        begin();
        return;
    }
    (*questions)[at]([questions, at, begin, ended](bool go) {
        if (go) AskInTurn(questions, at + 1, begin, ended);
        else ended();
    });
}

int StyleLines(const library::StylePlaylist& playlist) {
    int count = 0;
    for (const std::string& line : playlist.List(library::StyleListKind::Playlist).Lines)
        if (library::IsStyleLine(line)) ++count;
    return count;
}

}  // namespace

template <typename F> auto BatchDesk::Guarded(F f) {
    std::weak_ptr<int> alive = alive_;
    return [alive, f = std::move(f)](auto&&... args) mutable {
        if (alive.lock()) f(std::forward<decltype(args)>(args)...);
    };
}

BatchDesk::BatchDesk(core::Session& session, BatchDeskParts parts)
    : session_(session), parts_(parts), alive_(std::make_shared<int>(0)) {}

BatchDesk::~BatchDesk() = default;

BatchView BatchDesk::Handle(const BatchRequest& request) {
    platform::Prompter& prompter = session_.Prompter();
    switch (request.What) {
    case BatchRequest::Read: break;
    case BatchRequest::Start: Start(request); break;
    case BatchRequest::Cancel:
        // Between two slices: the file in hand is done, the rest stays untouched.
        if (run_ && !run_->Progress().Finished) {
            run_->Cancel();
            Ended();
        }
        break;
    case BatchRequest::SetSourceFolder:
        prompter.ChooseFolderThen(SetPathTitle, sourceFolder_, Guarded([this](std::optional<std::string> folder) {
                                      if (folder && !folder->empty()) sourceFolder_ = *folder;
                                      Changed();
                                  }));
        break;
    case BatchRequest::SetOutputFolder:
        prompter.ChooseFolderThen(SetPathTitle, outputFolder_, Guarded([this](std::optional<std::string> folder) {
                                      if (folder && !folder->empty()) outputFolder_ = *folder;
                                      Changed();
                                  }));
        break;
    }
    return View();
}

void BatchDesk::Start(const BatchRequest& request) {
    if (asking_ || (run_ && !run_->Progress().Finished)) return;
    const app::BatchMode mode = request.Mode;
    const app::BatchModeInfo& info = app::InfoOf(mode);
    platform::Prompter& prompter = session_.Prompter();
    asking_ = true;
    Changed();
    auto ended = Guarded([this] {
        asking_ = false;
        Changed();
    });

    if (mode == app::BatchMode::Songs) {
        songs_ = std::make_unique<app::BatchSongs>(session_, parts_.State, parts_.Creator, parts_.Songlist,
                                              outputFolder_.empty() ? session_.Paths().Songs() : outputFolder_);
        songs_->Ask(Guarded([this](int count) {
            asking_ = false;
            if (count > 0) Launch(songs_->Job());
            Changed();
        }));
        return;
    }

    auto job = std::make_shared<app::BatchJob>();
    job->Mode = mode;
    job->OutputFolder = outputFolder_.empty() ? session_.Paths().Styles() : outputFolder_;
    auto questions = std::make_shared<std::vector<Question>>();
    if (info.ChangesFiles)
        questions->push_back([&prompter](Next next) { prompter.ConfirmThen(std::string(app::batch_text::BackUpFirst), next); });
    if (mode == app::BatchMode::Add && StyleLines(parts_.Playlist) > 0) {
        const int entries = static_cast<int>(parts_.Playlist.List(library::StyleListKind::Playlist).Lines.size());
        questions->push_back([&prompter, job, entries](Next next) {
            prompter.ConfirmThen(app::ClearPlaylistQuestion(entries), [job, next](bool yes) {
                job->ClearPlaylistFirst = yes;
                next(true);
            });
        });
    }
    if (mode == app::BatchMode::Convert) {
        questions->push_back([&prompter, job](Next next) {
            prompter.InputThen(std::string(app::batch_text::Title), std::string(app::batch_text::AskSets),
                               std::string(app::batch_text::DefaultSets), [&prompter, job, next](std::optional<std::string> text) {
                                   if (!text) return next(false);
                                   const std::optional<int> sets = app::ParseSetCount(*text);
                                   if (!sets) prompter.Inform(std::string(app::batch_text::WrongEntry));
                                   else job->Sets = *sets;
                                   next(sets.has_value());
                               });
        });
    }
    if (request.AskDescription && (mode == app::BatchMode::Convert || mode == app::BatchMode::Add)) {
        const std::string title(mode == app::BatchMode::Convert ? app::batch_text::EnhanceNames : app::batch_text::AddToPlaylist);
        questions->push_back([&prompter, job, title](Next next) {
            prompter.InputThen(title, std::string(library::playlist_text::AskBatchDescription), "",
                               [job, next](std::optional<std::string> text) {
                                   if (!text) return next(false);
                                   if (*text == app::batch_text::FromFolder) {
                                       job->Descriptions = app::DescriptionPolicy::FromFolder;
                                   } else if (!text->empty()) {
                                       job->Descriptions = app::DescriptionPolicy::Given;
                                       job->Description = *text;
                                   }
                                   next(true);
                               });
        });
    }
    AskInTurn(questions, 0, Guarded([this, job] { AskSource(*job); }), ended);
}

void BatchDesk::AskSource(app::BatchJob job) {
    platform::Prompter& prompter = session_.Prompter();
    auto fromFolder = Guarded([this, job](std::string folder) mutable {
        std::string error;
        job.Inputs = app::BatchInputsFromFolder(folder, job.Mode, &error);
        if (!error.empty()) {
            session_.Prompter().Inform("The files of " + folder + " cannot be read (" + error + ") !");
        } else if (job.Inputs.empty()) {
            session_.Prompter().Inform("There are no files for \"" + std::string(app::InfoOf(job.Mode).MenuItem) + "\" in " +
                                       folder + " !");
        } else {
            Launch(std::move(job));
        }
        asking_ = false;
        Changed();
    });
    if (StyleLines(parts_.Playlist) == 0) {
        AskFolderThen(fromFolder);
        return;
    }
    prompter.ConfirmThen(std::string(app::batch_text::UsePlaylist), Guarded([this, job, fromFolder](bool yes) mutable {
                             if (!yes) {
                                 AskFolderThen(fromFolder);
                                 return;
                             }
                             std::vector<std::string> missing;
                             job.Inputs = app::BatchInputsFromPlaylist(parts_.Playlist, job.Mode, &missing);
                             asking_ = false;
                             Launch(std::move(job));
                             for (const std::string& line : missing) log_.push_back(line + ": the file is not found");
                             Changed();
                         }));
}

void BatchDesk::AskFolderThen(std::function<void(std::string)> then) {
    if (!sourceFolder_.empty()) {
        then(sourceFolder_);
        return;
    }
    session_.Prompter().ChooseFolderThen(SetPathTitle, session_.Paths().Styles(),
                                         Guarded([this, then](std::optional<std::string> folder) {
                                             if (!folder || folder->empty()) {
                                                 asking_ = false;
                                                 Changed();
                                                 return;
                                             }
                                             sourceFolder_ = *folder;
                                             then(sourceFolder_);
                                         }));
}

void BatchDesk::Launch(app::BatchJob job) {
    app::BatchContext context{session_.Paths(), &parts_.Playlist, nullptr};
    if (job.Mode == app::BatchMode::Songs) context.Items = songs_.get();
    else songs_.reset();
    log_.clear();
    summary_.clear();
    run_ = std::make_unique<app::BatchRun>(std::move(job), context);
    if (run_->Progress().Finished) Ended();
    else ScheduleSlice();
    Changed();
}

void BatchDesk::ScheduleSlice() {
    if (sliceQueued_) return;
    sliceQueued_ = true;
    session_.Loop().Post(Guarded([this] {
        sliceQueued_ = false;
        if (Slice()) ScheduleSlice();
    }));
}

bool BatchDesk::Slice() {
    if (!run_ || run_->Progress().Finished) return false;
    const std::size_t errorsBefore = run_->Errors().size();
    run_->Step();
    for (std::size_t e = errorsBefore; e < run_->Errors().size(); ++e)
        log_.push_back(run_->Errors()[e].File + ": " + run_->Errors()[e].Reason);
    // A folder that took no song takes no later one either.
    if (songs_ && songs_->Stopped() && !run_->Progress().Finished) run_->Cancel();
    if (run_->Progress().Finished) Ended();
    Changed();
    return !run_->Progress().Finished;
}

void BatchDesk::Ended() {
    for (const std::string& message : run_->Messages()) log_.push_back(message);
    const app::BatchProgress progress = run_->Progress();
    if (songs_) {
        songs_->Finish();
        summary_ = std::to_string(songs_->Made()) + " of " + std::to_string(songs_->Count()) +
                   " songs added to the songlist, " + std::to_string(progress.Errors) + " errors";
        if (songs_->Stopped()) session_.Prompter().Inform("The songs cannot be saved: " + songs_->StopReason() + " !");
    } else {
        summary_ = run_->Summary();
        if (progress.Stopped) session_.Prompter().Inform(run_->StopReason() + " !");
        session_.Prompter().Inform(summary_);
    }
    Changed();
}

BatchView BatchDesk::View() const {
    BatchView view;
    view.SourceFolder = sourceFolder_;
    view.OutputFolder = outputFolder_;
    view.PlaylistEntries = StyleLines(parts_.Playlist);
    view.Asking = asking_;
    view.Log = log_;
    view.Summary = summary_;
    view.Serial = serial_;
    if (run_) {
        const app::BatchProgress progress = run_->Progress();
        view.Running = !progress.Finished;
        view.ModeItem = std::string(app::InfoOf(run_->Job().Mode).MenuItem);
        view.FileCount = progress.FileCount;
        view.Done = progress.Done;
        view.Errors = progress.Errors;
        view.CurrentFile = progress.CurrentFile;
        view.Cancelled = progress.Cancelled;
    }
    return view;
}

}  // namespace chordella::desktop
