#include "desktop/DesktopSonglist.h"

#include "app/StateParts.h"
#include "core/Session.h"
#include "library/SongPlayer.h"
#include "library/SongSnapshot.h"
#include "library/Songlist.h"
#include "platform/Clock.h"

namespace chordella::desktop {

DesktopSonglist::DesktopSonglist(core::Session& session, app::AppState& app)
    : session_(session), app_(app),
      list_(std::make_unique<library::Songlist>(session.Prompter())),
      player_(std::make_unique<library::SongPlayer>(session, app::SongStateOf(app), *list_)) {
    list_->Changed = [this] {
        // The list in use is the one the next start opens.
        if (!list_->SonglistPath().empty()) app_.options.SonglistFile = list_->SonglistPath();
        Changed();
    };
    player_->SongStarted = [this](const library::SongStart&) { Changed(); };
    player_->Finished = [this] { Changed(); };
    timer_ = session_.Loop().StartTimer(PollPeriod, true, [this] {
        const bool wasRunning = player_->Running();
        const int wasCurrent = player_->CurrentEntry();
        const int wasRepeats = player_->SessionRepeats();
        player_->Poll(platform::NowMillis());
        if (wasRunning != player_->Running() || wasCurrent != player_->CurrentEntry() ||
            wasRepeats != player_->SessionRepeats())
            Changed();
    });
}

DesktopSonglist::~DesktopSonglist() {
    if (timer_ != 0) session_.Loop().StopTimer(timer_);
}

void DesktopSonglist::Changed() {
    ++serial_;
    const std::string next = player_->NextTitle();
    nextTitle_.Set(next.c_str(), next.size());
}

void DesktopSonglist::Open(const std::string& path) {
    std::string error;
    if (!list_->OpenQuietly(path, error))
        session_.Prompter().Inform("Can't open the songlist \"" + path + "\" (" + error + ") !");
}

void DesktopSonglist::Handle(const SonglistRequest& request) {
    using A = SonglistAction;
    const std::int64_t now = platform::NowMillis();
    const std::optional<int> index = request.Index >= 0 ? std::optional<int>(request.Index) : std::nullopt;
    const bool songLoaded = !app_.arrangement.Chords.IsEmpty() &&
                            !app_.arrangement.ArrangementPath.empty();
    // The song in memory with the settings as they are now, under the title field's text.
    const auto capturedEntry = [this] {
        return library::CaptureSongEntry(session_, app::SongStateOf(app_), list_->TitleField);
    };
    switch (request.Action) {
    case A::Load: list_->Load(); break;
    case A::Save: list_->Save(); break;
    case A::AddCurrent:
        if (songLoaded) list_->Add(capturedEntry(), index);
        break;
    case A::Edit:
        if (songLoaded) list_->Edit(index, capturedEntry());
        break;
    case A::Delete: list_->Delete(index); break;
    case A::NewClear: list_->NewClear(); break;
    case A::Enqueue:
        if (index) list_->Enqueue(*index);
        break;
    case A::QueueSelection:
        list_->QueueSelection(request.Selection);
        player_->Start(std::nullopt, now);
        break;
    case A::Play: player_->Start(index, now); break;
    case A::PlayNow:
        if (!index) break;
        list_->QueueSelection({*index});
        player_->Start(std::nullopt, now);
        break;
    case A::Next: player_->Next(now); break;
    case A::Previous: player_->Previous(now); break;
    case A::StopSet: player_->Stop(); break;
    case A::SessionMode: player_->AskSessionMode(); break;
    case A::Move: list_->Move(request.Index, request.To); break;
    case A::SetShuffle: list_->ShufflePlayback = request.On; break;
    case A::SetLoadInstruments: list_->LoadInstruments = request.On; break;
    case A::SetAutoStart: player_->AutoStart = request.On; break;
    case A::SetRepeat: player_->Repeat = request.On; break;
    case A::SetUseMci: app_.options.UseMci = request.On; break;
    case A::SetTitle: list_->TitleField = request.Text; break;
    case A::ImportFiles:
        session_.Prompter().OpenFileThen(std::string(library::OpenFilesTitle), std::string(library::OpenFilesFilter),
                                         session_.Paths().Songs(), [this](std::optional<std::string> file) {
                                             if (!file || file->empty()) return;
                                             player_->ImportFiles({*file});
                                             session_.Prompter().Inform(std::string(library::SpaceBarMessage));
                                             Changed();
                                         });
        break;
    }
    Changed();
}

SonglistView DesktopSonglist::View() const {
    SonglistView view;
    view.Caption = list_->Caption();
    view.PlayCaption = list_->PlayCaption();
    for (const std::string& line : list_->Entries()) {
        const library::SongEntry entry = library::ParseSongEntry(line);
        view.Rows.push_back({entry.Title, entry.Path, library::SongEntrySummary(entry)});
    }
    view.Queue = list_->PlayQueue();
    view.Current = player_->CurrentEntry();
    view.NextTitle = player_->NextTitle();
    view.TitleField = list_->TitleField;
    view.Shuffle = list_->ShufflePlayback;
    view.LoadInstruments = list_->LoadInstruments;
    view.AutoStart = player_->AutoStart;
    view.Repeat = player_->Repeat;
    view.UseMci = app_.options.UseMci;
    view.CreateChords = list_->CreateChordsToggle;
    view.Running = player_->Running();
    view.SessionRepeats = player_->SessionRepeats();
    return view;
}

}  // namespace chordella::desktop
