#include "ui/ControlHost.h"

#include "desktop/DesktopStyleManager.h"

#include "app/SongCreator.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <cstring>
#include <type_traits>

#include "app/LiveArranger.h"
#include "app/SongEditing.h"
#include "chords/ChordEntry.h"
#include "core/Session.h"
#include "desktop/BatchDesk.h"
#include "desktop/DesktopCore.h"
#include "desktop/DesktopPlaylist.h"
#include "desktop/DesktopRemote.h"
#include "desktop/DesktopSonglist.h"
#include "desktop/EditorChordInput.h"
#include "app/SongPlayback.h"
#include "desktop/InstrumentSetDesk.h"
#include "desktop/StyleConverterDesk.h"
#include "desktop/StyleCreatorDesk.h"
#include "remote/RemoteControl.h"

namespace chordella::ui {

namespace {

static_assert(std::is_trivially_copyable_v<app::DisplaySnapshot>, "snapshots are copied as bytes");

chords::EntryModifiers EntryOf(Modifiers m) { return {m.Shift, m.Ctrl, m.Alt, m.LeftButton}; }

// Byte copies keep the padding equal too, so two snapshots compare with memcmp.
void CopySnapshot(app::DisplaySnapshot& to, const app::DisplaySnapshot& from) {
    std::memcpy(static_cast<void*>(&to), &from, sizeof to);
}

}  // namespace

ControlHost::ControlHost(std::unique_ptr<core::Session> session, HostSetup setup)
    : session_(std::move(session)), stylesFolder_(session_->Paths().Styles()),
      songsFolder_(session_->Paths().Songs()), windowContext_(std::make_unique<QObject>()) {
    std::memset(static_cast<void*>(&filling_), 0, sizeof filling_);
    filling_ = app::DisplaySnapshot{};
    CopySnapshot(published_, filling_);
    CopySnapshot(shared_, filling_);
    thread_ = std::thread([this, setup = std::move(setup)]() mutable { Run(std::move(setup)); });
}

ControlHost::~ControlHost() {
    session_->Loop().Quit();
    if (thread_.joinable()) thread_.join();
    windowContext_.reset();
}

void ControlHost::Run(HostSetup setup) {
    core_ = std::make_unique<desktop::DesktopCore>(*session_, state_, setup.Lifecycle);
    core_->Start(setup.CommandLineFile);
    editing_ = std::make_unique<app::SongEditing>(*session_, state_.arrangement, state_.options, state_.clock);
    core_->Creator().SetAfterGeneration([this](const composer::GeneratedSong& song) {
        editing_->ProgramChangesAfterGeneration(song.FormMeasures, song.ChordMeasures);
    });
    editorInput_ = std::make_unique<desktop::EditorChordInput>(
        *editing_, state_.chords.SlotMap,
        desktop::EditorChordInput::Transport{[this] { return session_->ArrangementLink().StylePlaying(); },
                                             [this] { return state_.transport.ChordPlayMode != 0; },
                                             [this] { Post([](desktop::DesktopCore& core) { core.Stop(); }); }});
    core_->SetPadEditor(editorInput_.get());
    core_->Arranger().Songs().peers.SetEditorPath(editorInput_->Path());
    started_ = true;
    Publish();
    const auto timer = session_->Loop().StartTimer(setup.PublishEvery, true, [this] { Publish(); });
    session_->Loop().Run();
    session_->Loop().StopTimer(timer);
    batch_.reset();
    instruments_.reset();
    remote_.reset();
    core_->Creator().SetAfterGeneration({});
    core_->Arranger().Songs().peers.SetEditorPath({});
    core_->SetPadEditor(nullptr);
    editorInput_.reset();
    editing_.reset();
    core_->Exit();
    core_.reset();
}

void ControlHost::Publish() {
    core_->FillSnapshot(filling_);
    filling_.EditorEntries = editorInput_->Entries();
    filling_.EditorMeasure = editorInput_->Measure();
    filling_.EditorBeat = editorInput_->Beat();
    filling_.Serial = published_.Serial;
    if (std::memcmp(&filling_, &published_, sizeof filling_) != 0) {
        ++filling_.Serial;
        CopySnapshot(published_, filling_);
        pending_ = true;
    }
    if (!pending_ || !sharedMutex_.try_lock()) return;  // the window reads now: next round
    CopySnapshot(shared_, published_);
    sharedMutex_.unlock();
    pending_ = false;
}

app::DisplaySnapshot ControlHost::Snapshot() const {
    app::DisplaySnapshot copy;
    std::lock_guard<std::mutex> lock(sharedMutex_);
    CopySnapshot(copy, shared_);
    return copy;
}

void ControlHost::Post(std::function<void(desktop::DesktopCore&)> task) {
    session_->Loop().Post([this, task = std::move(task)] {
        if (core_) task(*core_);
    });
}

void ControlHost::Barrier(const std::function<void(desktop::DesktopCore&)>& task) {
    session_->Loop().Send([this, &task] {
        if (core_) task(*core_);
    });
}

void ControlHost::ToWindow(std::function<void()> done) {
    QMetaObject::invokeMethod(windowContext_.get(), std::move(done), Qt::QueuedConnection);
}

// --- Requests: each one posted to the control thread --------------------------------------

void ControlHost::PadDown(const std::string& pad, Modifiers modifiers) {
    Post([pad, modifiers](desktop::DesktopCore& core) { core.PadDown(pad, EntryOf(modifiers)); });
}
void ControlHost::PadUp(const std::string& pad) {
    Post([pad](desktop::DesktopCore& core) { core.PadUp(pad); });
}
void ControlHost::ScreenNoteOn(int note, int velocity) {
    Post([=](desktop::DesktopCore& core) { core.ScreenNoteOn(note, velocity); });
}
void ControlHost::ScreenNoteOff(int note, int velocity) {
    Post([=](desktop::DesktopCore& core) { core.ScreenNoteOff(note, velocity); });
}
void ControlHost::KeyDown(int virtualKey, bool autoRepeat, Modifiers modifiers) {
    Post([=](desktop::DesktopCore& core) { core.KeyDown(virtualKey, autoRepeat, EntryOf(modifiers)); });
}
void ControlHost::KeyUp(int virtualKey, Modifiers modifiers) {
    Post([=](desktop::DesktopCore& core) { core.KeyUp(virtualKey, EntryOf(modifiers)); });
}

void ControlHost::StartStop() { Post([](desktop::DesktopCore& core) { core.StartStop(); }); }
void ControlHost::Stop() { Post([](desktop::DesktopCore& core) { core.Stop(); }); }
void ControlHost::Record() { Post([](desktop::DesktopCore& core) { core.Record(); }); }
void ControlHost::SectionKeyPressed(int section) {
    Post([section](desktop::DesktopCore& core) { core.SectionKeyPressed(section); });
}
void ControlHost::SetTempo(int bpm) { Post([bpm](desktop::DesktopCore& core) { core.SetTempo(bpm); }); }
void ControlHost::Tap() { Post([](desktop::DesktopCore& core) { core.Tap(); }); }
void ControlHost::BeginTapTempo() { Post([](desktop::DesktopCore& core) { core.BeginTapTempo(); }); }
void ControlHost::SetAccompaniment(bool on) { Post([on](desktop::DesktopCore& core) { core.SetAccompaniment(on); }); }

void ControlHost::SetChannelController(int channel, int controller, int value) {
    Post([=](desktop::DesktopCore& core) { core.SetChannelController(channel, controller, value); });
}
void ControlHost::SetChannelMute(int channel, bool muted) {
    Post([=](desktop::DesktopCore& core) { core.SetChannelMute(channel, muted); });
}
void ControlHost::SetSolo(int channel) { Post([channel](desktop::DesktopCore& core) { core.SetSolo(channel); }); }
void ControlHost::ResetControllers() { Post([](desktop::DesktopCore& core) { core.ResetControllers(); }); }

void ControlHost::ReadOptions(std::function<void(const core::Options&)> done) {
    Post([this, done = std::move(done)](desktop::DesktopCore& core) {
        ToWindow([done, options = core.CurrentOptions()] { done(options); });
    });
}
void ControlHost::ApplyOptions(const core::Options& options) {
    Post([options](desktop::DesktopCore& core) { core.ApplyOptions(options); });
}
void ControlHost::SetOperatingMode(int mode) { Post([mode](desktop::DesktopCore& core) { core.SetOperatingMode(mode); }); }
void ControlHost::ListPorts(std::function<void(const PortLists&)> done) {
    Post([this, done = std::move(done)](desktop::DesktopCore& core) {
        const desktop::PortNames names = core.ListPorts();
        ToWindow([done, lists = PortLists{names.Inputs, names.Outputs, names.BuiltInSynth}] { done(lists); });
    });
}

void ControlHost::ListAudio(std::function<void(const desktop::AudioChoices&)> done) {
    Post([this, done = std::move(done)](desktop::DesktopCore& core) {
        ToWindow([done, choices = core.ListAudio()] { done(choices); });
    });
}

void ControlHost::StoreWindowSettings(const WindowSettings& settings) {
    Post([settings](desktop::DesktopCore& core) {
        core.StoreWindowSettings(settings.Width, settings.Height, settings.Panels, settings.Theme, settings.StyleFolders);
    });
}

void ControlHost::OpenStyle(const std::string& path) {
    Post([path](desktop::DesktopCore& core) { core.OpenStyle(path); });
}
void ControlHost::ChangeStyle(const std::string& path) {
    Post([path](desktop::DesktopCore& core) { core.ChangeStyle(path); });
}
void ControlHost::OpenSong(const std::string& path) {
    Post([path](desktop::DesktopCore& core) { core.OpenSong(path); });
}
void ControlHost::SaveSong(const std::string& path) {
    Post([path](desktop::DesktopCore& core) { core.SaveSong(path); });
}
void ControlHost::StyleManager(const desktop::StyleManagerRequest& request) {
    Post([request](desktop::DesktopCore& core) { core.StyleManager(request); });
}
void ControlHost::ReadStyleManager(std::uint64_t shownSerial, std::function<void(const desktop::StyleManagerView&)> done) {
    Post([this, shownSerial, done = std::move(done)](desktop::DesktopCore& core) {
        ToWindow([done, view = core.ReadStyleManager(shownSerial)] { done(view); });
    });
}

void ControlHost::RenderToWav(const std::string& path) {
    Post([path](desktop::DesktopCore& core) { core.RenderToWav(path); });
}

void ControlHost::Songlist(const desktop::SonglistRequest& request) {
    Post([request](desktop::DesktopCore& core) { core.Songlist(request); });
}
void ControlHost::ReadSonglist(std::function<void(const desktop::SonglistView&)> done) {
    Post([this, done = std::move(done)](desktop::DesktopCore& core) {
        ToWindow([done, view = core.ReadSonglist()] { done(view); });
    });
}

void ControlHost::StylePlaylist(const desktop::PlaylistRequest& request,
                                std::function<void(const desktop::PlaylistView&)> done) {
    Post([this, request, done = std::move(done)](desktop::DesktopCore& core) {
        ToWindow([done, view = core.StylePlaylist(request)] { done(view); });
    });
}

void ControlHost::RemoteCommand(const desktop::RemoteRequest& request, std::function<void(const desktop::RemoteView&)> done) {
    Post([this, request, done = std::move(done)](desktop::DesktopCore& core) {
        if (!remote_)
            remote_ = std::make_unique<desktop::DesktopRemote>(*session_, state_.options, core.Arranger().Remote());
        desktop::RemoteView view = remote_->Handle(request);
        if (done) ToWindow([done, view = std::move(view)] { done(view); });
    });
}

void ControlHost::StyleCreatorCommand(const desktop::CreatorRequest& request,
                                      std::function<void(const desktop::CreatorView&)> done) {
    Post([this, request, done = std::move(done)](desktop::DesktopCore& core) {
        desktop::CreatorView view = core.StyleCreator().Handle(request);
        if (done) ToWindow([done, view = std::move(view)] { done(view); });
    });
}

void ControlHost::ConfirmExit(std::function<void(bool proceed)> done) {
    Post([this, done = std::move(done)](desktop::DesktopCore& core) {
        core.ConfirmExit([this, done](bool proceed) { ToWindow([done, proceed] { done(proceed); }); });
    });
}

void ControlHost::StyleConverterCommand(const desktop::ConverterRequest& request,
                                        std::function<void(const desktop::ConverterView&)> done) {
    Post([this, request, done = std::move(done)](desktop::DesktopCore&) {
        if (!styleConverter_) styleConverter_ = std::make_unique<desktop::StyleConverterDesk>(*session_, state_);
        desktop::ConverterView view = styleConverter_->Handle(request);
        if (done) ToWindow([done, view = std::move(view)] { done(view); });
    });
}

void ControlHost::BatchCommand(const desktop::BatchRequest& request, std::function<void(const desktop::BatchView&)> done) {
    Post([this, request, done = std::move(done)](desktop::DesktopCore& core) {
        if (!batch_)
            batch_ = std::make_unique<desktop::BatchDesk>(
                *session_,
                desktop::BatchDeskParts{state_, core.Creator(), core.SonglistPanel().List(), core.Playlist().Lists()});
        desktop::BatchView view = batch_->Handle(request);
        if (done) ToWindow([done, view = std::move(view)] { done(view); });
    });
}

void ControlHost::StyleRulesCommand(const app::StyleRulesRequest& request,
                                    std::function<void(const app::StyleRulesView&)> done) {
    Post([this, request, done = std::move(done)](desktop::DesktopCore& core) {
        app::StyleRulesView view = core.StyleRules(request);
        if (done) ToWindow([done, view = std::move(view)] { done(view); });
    });
}

void ControlHost::SongCreatorCommand(const SongCreatorRequest& request,
                                     std::function<void(const app::SongCreatorResult&)> done) {
    Post([this, request, done = std::move(done)](desktop::DesktopCore& core) {
        app::SongCreator& creator = core.Creator();
        if (request.Options) creator.Options() = *request.Options;
        if (request.What == SongCreatorRequest::ChordView) {
            return creator.FromChordView(request.Entry == 1, [this, done](const app::SongCreatorResult& result) {
                if (done) ToWindow([done, result] { done(result); });
            });
        }
        app::SongCreatorResult result;
        switch (request.What) {
            case SongCreatorRequest::ListEntry: result = creator.ChooseEntry(request.Entry); break;
            case SongCreatorRequest::CreateChords: result = creator.CreateChords(); break;
            case SongCreatorRequest::CompletelyRandom: result = creator.CompletelyRandomSong(); break;
            case SongCreatorRequest::RandomStyle: result.StyleName = creator.RandomStyle(); break;
            case SongCreatorRequest::Regenerate: result = creator.Regenerate(request.Locked); break;
            case SongCreatorRequest::ExportList: creator.ExportList(); break;
            case SongCreatorRequest::ChordView: break;
            case SongCreatorRequest::AnotherStyle: result.StyleName = creator.AnotherStyle(); break;
        }
        if (done) ToWindow([done, result] { done(result); });
    });
}

void ControlHost::SetSongKey(int keyIndex, int modeIndex) {
    Post([keyIndex, modeIndex](desktop::DesktopCore& core) { core.Creator().SetKeyAndMode(keyIndex, modeIndex); });
}

void ControlHost::SetPlayBox(app::PlayBox box, bool on) {
    Post([box, on](desktop::DesktopCore& core) { core.SetPlayBox(box, on); });
}

void ControlHost::SetChordCodeChannel(int channel) {
    Post([channel](desktop::DesktopCore& core) { core.SetChordCodeChannel(channel); });
}

void ControlHost::InstrumentSets(const desktop::InstrumentRequest& request,
                                 std::function<void(const desktop::InstrumentView&)> done) {
    Post([this, request, done = std::move(done)](desktop::DesktopCore& core) {
        if (!instruments_)
            instruments_ = std::make_unique<desktop::InstrumentSetDesk>(
                *session_, state_, core.Arranger().Remote(),
                [&core](int number, const std::string& text) { return core.StoreInstrumentSetText(number, text); });
        const desktop::InstrumentView view = instruments_->Handle(request);
        if (done) ToWindow([done, view] { done(view); });
    });
}

void ControlHost::StyleSource(desktop::StyleSourceRequest request, std::function<void(const desktop::StyleSourceView&)> done) {
    Post([this, request, done = std::move(done)](desktop::DesktopCore& core) {
        const desktop::StyleSourceView view = desktop::ChooseStyleSource(request, core.Playlist(), core.StyleManagerPanel());
        if (done) ToWindow([done, view] { done(view); });
    });
}

void ControlHost::StepRecord() { Post([](desktop::DesktopCore& core) { core.StepRecord(); }); }
void ControlHost::ToggleClock() { Post([](desktop::DesktopCore& core) { core.ToggleClock(); }); }
void ControlHost::ToggleSyncStart() { Post([](desktop::DesktopCore& core) { core.ToggleSyncStart(); }); }
void ControlHost::PlayPart(int part) { Post([part](desktop::DesktopCore& core) { core.PlayPart(part); }); }
void ControlHost::SetStartMeasure(int measure) {
    Post([measure](desktop::DesktopCore& core) { core.SetStartMeasure(measure); });
}
void ControlHost::SetLoop(bool on, int fromMeasure, int toMeasure) {
    Post([=](desktop::DesktopCore& core) { core.SetLoop(on, fromMeasure, toMeasure); });
}
void ControlHost::SetSplitKey(int lastChordKey) {
    Post([lastChordKey](desktop::DesktopCore& core) { core.SetSplitKey(lastChordKey); });
}
void ControlHost::SetTransposition(int octaves, int semitones) {
    Post([=](desktop::DesktopCore& core) { core.SetTransposition(octaves, semitones); });
}
void ControlHost::RequestPart(int part) { Post([part](desktop::DesktopCore& core) { core.RequestPart(part); }); }
void ControlHost::FadeOut() { Post([](desktop::DesktopCore& core) { core.FadeOut(); }); }
void ControlHost::SetEditBox(bool on) { Post([on](desktop::DesktopCore& core) { core.SetEditBox(on); }); }
void ControlHost::MelodyMenu(const std::string& item) {
    Post([item](desktop::DesktopCore& core) { core.MelodyMenu(item); });
}
void ControlHost::ReadSongGrid(std::function<void(const app::SongGridView&)> done) {
    Post([this, done = std::move(done)](desktop::DesktopCore&) {
        ToWindow([done, grid = editing_->Grid()] { done(grid); });
    });
}
void ControlHost::EditSong(const app::SongEditRequest& request, std::function<void(const app::SongEditReply&)> done) {
    Post([this, request, done = std::move(done)](desktop::DesktopCore&) {
        ToWindow([done, reply = editing_->Apply(request)] { done(reply); });
    });
}
void ControlHost::WriteLeadSheet(bool chordsOnly, std::function<void(const app::LeadSheetOutcome&)> done) {
    Post([this, chordsOnly, done = std::move(done)](desktop::DesktopCore& core) {
        const auto variant = chordsOnly ? composer::LeadSheetVariant::ChordsOnly : composer::LeadSheetVariant::ChordsAndCommands;
        const app::LeadSheetKeys keys =
            app::LeadSheetKeysOf(core.Arranger().Remote().Keys(), state_.config.Instruments);
        ToWindow([done, outcome = editing_->WriteLeadSheet(variant, keys)] { done(outcome); });
    });
}
void ControlHost::ReadChannelValues(std::function<void(const std::string&)> done) {
    Post([this, done = std::move(done)](desktop::DesktopCore&) {
        ToWindow([done, text = editing_->ChannelValues()] { done(text); });
    });
}
void ControlHost::ExportChart(const std::string& path, const std::string& format, int transpose,
                              std::function<void(const std::string&)> done) {
    Post([this, path, format, transpose, done = std::move(done)](desktop::DesktopCore&) {
        ToWindow([done, error = editing_->ExportChart(path, format, transpose)] { done(error); });
    });
}
void ControlHost::ImportChart(const std::string& path, std::function<void(const app::SongEditReply&)> done) {
    Post([this, path, done = std::move(done)](desktop::DesktopCore&) {
        ToWindow([done, reply = editing_->ImportChart(path)] { done(reply); });
    });
}
void ControlHost::SetEditorLiveInput(const app::EditorLiveInput& input) {
    Post([this, input](desktop::DesktopCore&) { editorInput_->Set(input); });
}
void ControlHost::PlayFromMeasure(int measure) {
    Post([this, measure](desktop::DesktopCore& core) {
        if (session_->ArrangementLink().StylePlaying()) core.Stop();
        core.SetStartMeasure(measure);
        core.StartStop();
    });
}
void ControlHost::FocusLost() { Post([](desktop::DesktopCore& core) { core.ReleaseKeys(); }); }

}  // namespace chordella::ui
