#include "desktop/DesktopCore.h"

#include "app/ForeignStylePlay.h"
#include "app/SongCreator.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <utility>

#include "app/LiveArranger.h"
#include "app/Settings.h"
#include "app/SnapshotView.h"
#include "app/SongPlayback.h"
#include "chords/ChordEntry.h"
#include "chords/ChordRecogniser.h"
#include "chords/KeyboardLayout.h"
#include "chords/OperatingModes.h"
#include "chords/SectionKeys.h"
#include "chords/ChordSlotMap.h"
#include "core/Session.h"
#include "core/SongFiles.h"
#include "engine/AccompanimentEngine.h"
#include "engine/ChannelSettings.h"
#include "core/StyleStore.h"
#include "desktop/ActivityOutput.h"
#include "desktop/CreatorImportHooks.h"
#include "desktop/DesktopPlaylist.h"
#include "desktop/DesktopRemote.h"
#include "desktop/DesktopSonglist.h"
#include "desktop/DesktopStyleManager.h"
#include "desktop/StyleCreatorDesk.h"
#include "engine/Clock.h"
#include "engine/TapTempo.h"
#include "engine/Transport.h"
#include "library/PlaylistLine.h"
#include "library/Songlist.h"
#include "library/StyleManager.h"
#include "midi/MidiOutput.h"
#include "midi/PortSelection.h"
#include "remote/RemoteControl.h"
#include "remote/RemoteFunctions.h"

namespace chordella::desktop {

namespace {

constexpr int MinTempo = 25;
constexpr int MaxTempo = 250;
constexpr std::chrono::milliseconds TapStep{50};
// How often a style chosen while another plays looks for the end of the measure.
constexpr std::chrono::milliseconds PendingStyleCheck{2};

// The grids of the melody's "&Quantize".
constexpr std::array<std::string_view, 7> MelodyGrids{"1/32 swing", "1/32", "1/16 swing", "1/16",
                                                      "1/8 swing",  "1/8",  "None"};

bool IsMixerController(int controller) {
    return controller == 7 || controller == 10 || controller == 91 || controller == 93;
}

}  // namespace

DesktopCore::DesktopCore(core::Session& session, app::AppState& app, app::LifecycleSetup setup)
    : session_(session), app_(app),
      activity_(std::make_unique<ActivityOutput>(session)),
      arranger_(std::make_unique<app::LiveArranger>(session, app)),
      tapTempo_(std::make_unique<engine::TapTempo>(session, arranger_->Clock(), arranger_->Transport())),
      lifecycle_(session, app, *this, std::move(setup)) {
    session_.SetAccompanimentOutput(activity_.get());
    entry_ = std::make_unique<chords::ChordEntry>(session_, app_.chords, app_.keyboard, app_.entry, app_.options,
                                                  app_.config, app_.clock, app_.engine, app_.transport, app_.melody,
                                                  arranger_->Recogniser(), arranger_->SectionKeys(), arranger_->Engine(),
                                                  arranger_->InputLink());
    entry_->SetClock(&arranger_->Clock());
    songlist_ = std::make_unique<DesktopSonglist>(session_, app_);
    view_ = dynamic_cast<const app::SnapshotView*>(&session_.Display());
    creator_ = std::make_unique<app::SongCreator>(session_, app_, [this] { arranger_->Transport().Play(); });
    playlist_ = std::make_unique<DesktopPlaylist>(session_, app_, *creator_);
    // The style manager plays a style's Basic through the same transport as "Play Parts".
    auto loadStyle = [this](const std::string& path, std::function<void(bool)> then) {
        auto done = std::make_shared<std::function<void(bool)>>(std::move(then));
        if (app::IsForeignStyleFile(path)) {
            (*done)(OpenStyle(path));
            return;
        }
        data::StyleStore store(session_);
        const data::StyleLoadResult result = store.Load(path, true, false, [done](data::StyleLoadResult late) {
            (*done)(late == data::StyleLoadResult::Loaded);
        });
        if (result != data::StyleLoadResult::Asking) (*done)(result == data::StyleLoadResult::Loaded);
    };
    StyleManagerTransport styleTransport{std::move(loadStyle),
                                         [this] { PlayPart(data::Index(data::StylePart::Basic)); },
                                         [this] { Stop(); }};
    // Listed files go to the playlist; the manager's list is the random style source
    // whenever the playlist's "Random" is not ticked.
    styleManager_ = std::make_unique<DesktopStyleManager>(session_, app_, std::move(styleTransport), *playlist_);
    creator_->SetDefaultStyleList(styleManager_.get());
    RemoteHostFunctions remoteFunctions;
    remoteFunctions.MelodyPlayback = [this] { MelodyMenu("&Play"); };
    remoteFunctions.NewSong = [this] { creator_->CompletelyRandomSong(); };
    remoteFunctions.NewChords = [this] { creator_->CreateChords(); };
    remoteFunctions.NewStyle = [this] { creator_->RandomStyle(); };
    remoteFunctions.NextSong = [this] { Songlist(SonglistAction::Next); };
    remoteHost_ = std::make_unique<DesktopRemoteHost>(session_, app_, std::move(remoteFunctions));
    arranger_->Remote().SetHost(remoteHost_.get());
    styleRules_ = std::make_unique<app::LoadedStyleRules>(session_, app_);
}

DesktopCore::~DesktopCore() {
    if (pendingAudioTimer_ != 0) session_.Loop().StopTimer(pendingAudioTimer_);
    if (styleCreator_) arranger_->SetCreatorRecorder(nullptr);
    styleCreator_.reset();
    creatorImports_.reset();
    arranger_->Remote().SetHost(nullptr);
    remoteHost_.reset();
    creator_->SetDefaultStyleList(nullptr);
    styleManager_.reset();  // it holds the playlist
    playlist_.reset();      // it hands its list to the creator
    creator_.reset();
    if (tapTimer_ != 0) session_.Loop().StopTimer(tapTimer_);
    if (styleTimer_ != 0) session_.Loop().StopTimer(styleTimer_);
    songlist_.reset();  // before the arranger's song host its player opens songs through
    entry_.reset();
    tapTempo_.reset();
    arranger_.reset();
    session_.SetAccompanimentOutput(nullptr);
}

void DesktopCore::Start(const std::string& commandLineFile) {
    lifecycle_.Start();
    playlist_->Open();
    styleManager_->Open();
    lifecycle_.OpenFromCommandLine(commandLineFile);
}

app::SaveOutcome DesktopCore::Exit() { return lifecycle_.Exit(); }

// --- Chord entry -------------------------------------------------------------------------

void DesktopCore::PadDown(const std::string& pad, const chords::EntryModifiers& modifiers) {
    entry_->PadDown(pad, modifiers);
}

void DesktopCore::PadUp(const std::string& pad) { entry_->PadUp(pad); }

void DesktopCore::ScreenNoteOn(int note, int velocity) { entry_->ScreenNoteOn(note, velocity); }

void DesktopCore::ScreenNoteOff(int note, int velocity) { entry_->ScreenNoteOff(note, velocity); }

bool DesktopCore::KeyDown(int virtualKey, bool autoRepeat, const chords::EntryModifiers& modifiers) {
    // The numeric pad: digits run the MIDI commands (or the function keys), + and − send the
    // workstation messages and allow or ignore program changes.
    constexpr int NumPad0 = 0x60, NumPad9 = 0x69, NumPadPlus = 0x6B, NumPadMinus = 0x6D;
    if (virtualKey >= NumPad0 && virtualKey <= NumPad9) {
        if (!autoRepeat) arranger_->Remote().Digit(virtualKey - NumPad0);
        return true;
    }
    if (virtualKey == NumPadPlus || virtualKey == NumPadMinus) {
        if (!autoRepeat) arranger_->Remote().ProgramChangesKey(virtualKey == NumPadPlus);
        return true;
    }
    return entry_->KeyDown(virtualKey, autoRepeat, modifiers);
}

bool DesktopCore::KeyUp(int virtualKey, const chords::EntryModifiers& modifiers) {
    return entry_->KeyUp(virtualKey, modifiers);
}

void DesktopCore::SetEditBox(bool on) { app_.options.EditBox = on; }

void DesktopCore::StoreWindowSettings(int width, int height, const std::string& panels, int theme,
                                      const std::string& styleFolders) {
    core::Options& options = app_.options;
    options.WindowWidth = width;
    options.WindowHeight = height;
    options.WindowPanels = panels;
    options.Theme = theme;
    options.StyleFolders = styleFolders;
}

void DesktopCore::SetPadEditor(chords::PadEditorLink* editor) { entry_->SetEditor(editor); }

void DesktopCore::ReleaseKeys() { entry_->ReleaseAll(); }

// --- Transport -------------------------------------------------------------------------

bool DesktopCore::Running() const {
    return session_.Style().player.StyleActive != 0 || app_.transport.ChordPlayMode != 0 || app_.clock.ClockState != 0;
}

void DesktopCore::StartStop() {
    if (Running()) {
        Stop();
        return;
    }
    // Without an output the music would "play" unheard: say why nothing happens and what works.
    if (!CanSound(session_)) {
        const midi::TMidiOutput* out = session_.CurrentOutput();
        session_.Prompter().Inform(!out || out->DeviceID() == -1
                                       ? std::string(NoAudioOutputText)
                                       : "Can't open " + out->ProductName() + ", please check MIDI config.");
        return;
    }
    if (!app_.arrangement.Chords.IsEmpty()) {
        arranger_->Transport().Play();
    } else {
        arranger_->Transport().StartStyle();
    }
}

void DesktopCore::Stop() { arranger_->Transport().Stop(); }

void DesktopCore::Record() { arranger_->Transport().Record(); }

void DesktopCore::StepRecord() { arranger_->Transport().Record(true); }

void DesktopCore::ToggleClock() { arranger_->Clock().ToggleClock(); }

void DesktopCore::SectionKeyPressed(int section) { entry_->FunctionKey(section + chords::FirstFunctionKey); }

void DesktopCore::SetTempo(int bpm) {
    if (bpm < MinTempo || bpm > MaxTempo) return;
    app_.clock.Tempo = bpm;
    arranger_->Clock().TempoFieldChanged(bpm);
}

void DesktopCore::BeginTapTempo() {
    if (tapTimer_ != 0) session_.Loop().StopTimer(tapTimer_);
    tapTimer_ = 0;
    tapTempo_->Open();
}

void DesktopCore::Tap() {
    if (tapTimer_ == 0) {
        tapTempo_->Open();
        tapTimer_ = session_.Loop().StartTimer(TapStep, true, [this] { tapTempo_->TimerStep(); });
    }
    if (tapTempo_->Tap() == engine::TapTempo::TapResult::Done) {
        session_.Loop().StopTimer(tapTimer_);
        tapTimer_ = 0;
    }
}

void DesktopCore::SetAccompaniment(bool on) { arranger_->Transport().SetAccompaniment(on); }

void DesktopCore::ToggleSyncStart() { arranger_->Transport().ToggleSyncStart(); }

void DesktopCore::RequestPart(int part) {
    const data::ControlKeys& keys = app_.config.Keys;
    const int key = part == 0 ? keys.Intro : part == 1 ? keys.Basic : part == 2 ? keys.Extended : 0;
    if (key > 0) arranger_->SectionKeys().SectionKey(key, chords::SectionKeyCode);
}

void DesktopCore::FadeOut() { arranger_->Transport().FadeOut(); }

void DesktopCore::PlayPart(int part) {
    if (part >= 0 && part < 8) arranger_->Transport().PlayPart(100 + part);
}

void DesktopCore::SetStartMeasure(int measure) {
    arranger_->Songs().player.SetStartMeasure(measure);
}

void DesktopCore::SetLoop(bool on, int fromMeasure, int toMeasure) {
    arranger_->Songs().player.SetLoop(on, fromMeasure, toMeasure);
}

// --- The "&Melody" menu -----------------------------------------------------------------

void DesktopCore::MelodyMenu(const std::string& item) {
    engine::MelodyPlayer& melody = arranger_->Songs().melody;
    if (item == "&Record") {
        melody.ToggleRecording();
    } else if (item == "&Play") {
        melody.TogglePlayback();
    } else if (item == "&Delete") {
        melody.Delete();
    } else if (item == "R&estore") {
        melody.Restore();
    } else if (item == "Humanize") {
        melody.ToggleHumanize();
    } else if (std::find(MelodyGrids.begin(), MelodyGrids.end(), item) != MelodyGrids.end()) {
        melody.Quantize(item);
    }
}

// --- Keyboard split and transposition ----------------------------------------------------

void DesktopCore::SetSplitKey(int lastChordKey) {
    data::ControlKeys& keys = app_.config.Keys;
    if (lastChordKey < keys.FirstChordKey || lastChordKey > 127) return;
    keys.LastChordKey = lastChordKey;
    chords::ApplyKeyboardLayout(app_.chords, app_.keyboard, app_.config);
}

void DesktopCore::SetTransposition(int octaves, int semitones) {
    if (octaves < -3 || octaves > 3 || semitones < -11 || semitones > 11) return;
    engine::SetKeyboardOctave(app_.engine, octaves);
    app_.keyboard.CapoShift = static_cast<std::int16_t>(semitones);
    app_.melody.KeyboardTranspose = static_cast<std::int16_t>(chords::KeyboardTranspose(app_.engine, app_.keyboard));
}

// --- Mixer -----------------------------------------------------------------------------

void DesktopCore::SetChannelController(int channel, int controller, int value) {
    if (channel < 0 || channel > 15 || !IsMixerController(controller) || value < 0 || value > 127) return;
    session_.Controllers().SetValue(channel, controller, static_cast<std::uint8_t>(value));
    midi::TMidiOutput* out = session_.CurrentOutput();
    if (out != nullptr && out->IsOpen())
        out->PutShort(static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(controller),
                      static_cast<std::uint8_t>(value));
}

void DesktopCore::SetChannelMute(int channel, bool muted) {
    if (channel < 0 || channel > 15) return;
    engine::SetChannelMute(app_.engine, channel, muted);
    // A muted channel falls silent at once, not at its next note.
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (muted && out != nullptr && out->IsOpen()) out->PutShort(static_cast<std::uint8_t>(0xB0 | channel), 123, 0);
}

void DesktopCore::SetSolo(int channel) {
    if (channel < 0 || channel > 16) return;
    app_.options.Solo = channel;
    engine::SetSoloFilter(app_.engine, channel);
}

void DesktopCore::ResetControllers() { midi::ControllerReset(session_.CurrentOutput(), session_.Controllers()); }

// --- Options ---------------------------------------------------------------------------

const core::Options& DesktopCore::CurrentOptions() const { return app_.options; }

void DesktopCore::ApplyDerivedSettings() {
    app_.config.Keys = app::ControlKeysOf(app_.options);
    chords::ApplyKeyboardLayout(app_.chords, app_.keyboard, app_.config);
    if (!app_.options.ChordTypes.empty()) chords::ReadChordTypes(app_.chords.SlotMap, app_.options.ChordTypes);
    arranger_->Recogniser().ApplySpelling();
    arranger_->Clock().SelectQuantize(app_.options.Quantize);
    arranger_->Clock().SelectMetrum(app_.options.Metrum);
}

void DesktopCore::ApplyOptions(const core::Options& options) {
    const core::Options before = app_.options;
    app_.options = options;
    app::KeepOptionsInRange(app_.options);
    ApplyAudioOptions(before);
    ApplyDerivedSettings();
    OpenConfiguredPorts(session_, before, app_.options, false);
}

void DesktopCore::SetOperatingMode(int mode) {
    if (mode < 0 || mode >= static_cast<int>(chords::OperatingModeCaptions.size())) return;
    if (Running()) Stop();
    chords::ApplyOperatingMode(session_, app_.chords, app_.keyboard, app_.options, app_.clock,
                               static_cast<chords::OperatingMode>(mode));
}

void DesktopCore::SetPlayBox(app::PlayBox box, bool on) {
    core::Options& options = app_.options;
    switch (box) {
    case app::PlayBox::Chords: options.ChordInput = on; break;
    case app::PlayBox::Instruments: options.InstrumentKeys = on; break;
    case app::PlayBox::HarmonicPad: options.HarmonicPad = on; break;
    case app::PlayBox::MelodyAdLib: options.MelodyAdLib = on; break;
    case app::PlayBox::SendChordCodes: options.SendChordCodes = on; break;
    }
}

void DesktopCore::SetChordCodeChannel(int channel) {
    if (channel >= 0 && channel <= 15) app_.options.ChordCodeChannel = channel;
}

PortNames DesktopCore::ListPorts() { return ListPortNames(session_); }

// --- Files -----------------------------------------------------------------------------

bool DesktopCore::OpenStyle(const std::string& path) {
    // Another maker's style: played by its channel table (the hook of Style > Open does the same).
    if (app::IsForeignStyleFile(path)) return styleRules_->OpenForeignStyle(path);
    data::StyleStore store(session_);
    const data::StyleLoadResult result = path.empty() ? store.OpenWithDialog() : store.Load(path);
    return result == data::StyleLoadResult::Loaded;
}

void DesktopCore::ChangeStyle(const std::string& path) {
    const bool stylePlays = session_.Style().player.StyleActive != 0 && app_.transport.ChordPlayMode == 0;
    if (!stylePlays) {
        OpenStyle(path);
        return;
    }
    pendingStyle_ = path;
    if (styleTimer_ == 0)
        styleTimer_ = session_.Loop().StartTimer(PendingStyleCheck, true, [this] { TakePendingStyle(); });
}

void DesktopCore::TakePendingStyle() {
    const engine::StylePlayerState& player = session_.Style().player;
    const engine::ClockState& clock = app_.clock;
    const bool stylePlays = player.StyleActive != 0 && app_.transport.ChordPlayMode == 0;
    // The next beat starts a measure and this one is nearly over: the new style starts with it.
    const bool lastTicks = player.StyleBeat == 0 && clock.TickInBeat >= clock.TicksPerBeat - 2;
    if (stylePlays && !lastTicks) return;
    session_.Loop().StopTimer(styleTimer_);
    styleTimer_ = 0;
    const std::string path = std::exchange(pendingStyle_, {});
    const int mainPart = session_.Style().sections.ReturnSection == 2 ? 2 : 1;
    if (!OpenStyle(path) || !stylePlays) return;
    arranger_->Transport().PlayPart(100 + mainPart);  // a main part loops, as before the change
}

bool DesktopCore::OpenSong(const std::string& path) {
    data::SongFiles songs(session_, app_.arrangement, app_.options);
    const data::OpenRequest request{path.empty() ? data::OpenSource::Dialog : data::OpenSource::Path, path, false};
    return songs.Open(request) == data::OpenOutcome::Opened;
}

bool DesktopCore::SaveSong(const std::string& path) {
    data::SongFiles songs(session_, app_.arrangement, app_.options);
    return path.empty() ? songs.Save() : songs.SaveTo(path);
}

// --- Start-up and exit steps -------------------------------------------------------------

void DesktopCore::ApplySettings() {
    ApplyDerivedSettings();
    ApplyStartupAudio();  // before the ports open: the synth opens with them
    const core::Options& options = app_.options;
    OpenConfiguredPorts(session_, options, options, true);
}

bool DesktopCore::LoadStyle(const std::string& path, app::StyleLoad how) {
    data::StyleStore store(session_);
    const bool user = how != app::StyleLoad::StartupDefault;
    return store.Load(path, user, how == app::StyleLoad::StartupDefault) == data::StyleLoadResult::Loaded;
}

void DesktopCore::PlayDemoSong(const std::string& path) {
    data::SongFiles songs(session_, app_.arrangement, app_.options);
    if (songs.Open({data::OpenSource::FirstStart, path, false}) != data::OpenOutcome::Opened) return;
    // Without an output nothing would be heard while the clock ran: the song stays at its
    // start (the open may have started it already).
    if (!CanSound(session_)) {
        if (Running()) Stop();
        return;
    }
    arranger_->Transport().Play();
}

void DesktopCore::ShowGuide(const std::string& text) {
    guide_ = text;
    if (CanSound(session_)) return;
    // The guide must not promise the demo song when there is no output to hear it on.
    constexpr std::string_view promise =
        "You should hear the demo song now. If not, please check your MIDI configuration.";
    const std::size_t at = guide_.find(promise);
    if (at != std::string::npos) guide_.replace(at, promise.size(), NoSoundGuideText);
}

void DesktopCore::OpenSonglist(const std::string& path, const std::string& /*caption*/) { songlist_->Open(path); }

void DesktopCore::SaveStylePlaylist() { playlist_->Save(); }

PlaylistView DesktopCore::StylePlaylist(const PlaylistRequest& request) {
    if (request.Action == PlaylistAction::ImportFromSonglist) {
        PlaylistRequest withSongs = request;
        withSongs.Files = songlist_->List().Entries();
        return playlist_->Handle(withSongs);
    }
    if (request.Action == PlaylistAction::AddStyles && request.Files.empty()) {
        PlaylistRequest listed = request;  // "Add styles": the files the Style-Manager lists
        listed.Files = styleManager_->Manager().Browser().FilePaths();
        return playlist_->Handle(listed);
    }
    if (request.Action == PlaylistAction::LoadFile) {
        PlaylistView view = playlist_->Handle(request);
        std::error_code missing;
        if (!std::filesystem::is_regular_file(request.Text, missing)) {
            view.Message = request.Text + " not found !";
        } else {
            playlist_->NoteLoaded(request.Text);
            OpenStyle(request.Text);
        }
        view.Recent = playlist_->View().Recent;
        return view;
    }
    PlaylistView view = playlist_->Handle(request);
    if (request.Action != PlaylistAction::Load && request.Action != PlaylistAction::SelectNumber) return view;
    if (!view.Message.empty()) return view;
    if (const std::optional<std::string> file = playlist_->FileAt(request.Index)) {
        playlist_->NoteLoaded(*file);
        OpenStyle(*file);
        view.Recent = playlist_->View().Recent;
    } else if (request.Index >= 0 && request.Index < static_cast<int>(view.Lines.size())) {
        view.Message = std::string(library::LinePath(view.Lines[static_cast<std::size_t>(request.Index)])) + " not found !";
    }
    return view;
}

StyleCreatorDesk& DesktopCore::StyleCreator() {
    if (!styleCreator_) {
        creatorImports_ = std::make_unique<CreatorImportHooks>(session_, app_, *arranger_);
        styleCreator_ = std::make_unique<StyleCreatorDesk>(session_, app_, *creatorImports_);
        arranger_->SetCreatorRecorder(&styleCreator_->Recorder());
    }
    return *styleCreator_;
}

void DesktopCore::OfferUnsavedWork(std::function<void(bool proceed)> done) {
    if (!styleCreator_) return done(true);
    styleCreator_->OfferSaveBeforeExit(std::move(done));
}

void DesktopCore::SaveSonglist() { songlist_->List().SaveIfModified(); }

// --- Songlist and song player ----------------------------------------------------------

void DesktopCore::Songlist(const SonglistRequest& request) { songlist_->Handle(request); }

SonglistView DesktopCore::ReadSonglist() const { return songlist_->View(); }

void DesktopCore::StyleManager(const StyleManagerRequest& request) { styleManager_->Handle(request); }

StyleManagerView DesktopCore::ReadStyleManager(std::uint64_t shownSerial) const {
    return styleManager_->View(shownSerial);
}

void DesktopCore::SendSystemExclusive(const std::vector<std::uint8_t>& message) {
    midi::TMidiOutput* out = session_.CurrentOutput();
    if (out == nullptr || !out->IsOpen() || message.empty() || message.size() > 0xFFFF) return;
    try {
        out->PutLong(message.data(), static_cast<std::uint16_t>(message.size()));
    } catch (const std::exception& e) {
        session_.Prompter().Inform(std::string("The set-up message could not be sent: ") + e.what());
    }
}

void DesktopCore::ShutDownClock() { arranger_->Stop(); }

void DesktopCore::ClosePorts() { CloseAllPorts(session_); }

}  // namespace chordella::desktop
