#pragma once
// The program core behind the desktop window: the live modules (engine, clock, transport,
// chord recognition, both MIDI inputs, song playback, chord entry from pads and keys), the
// start-up and exit sequence with its steps carried out for real, and one method for
// every request the window makes. FillSnapshot copies what the window shows into a plain
// snapshot.
//
//   desktop::DesktopCore core(session);   // session made with an app::SnapshotView
//   core.Start();                     // settings, ports, start-up style, first-start demo
//   session.Loop().Run();             // requests are posted to the loop
//   core.Exit();
//
// Control thread only: the window's host posts every request to the session's loop.

#include <cstdint>
#include <memory>
#include <string>

#include "app/DisplaySnapshot.h"
#include "app/Lifecycle.h"
#include "app/LifecycleLink.h"
#include "app/LoadedStyleRules.h"
#include "app/PlayBoxes.h"
#include "core/Options.h"
#include "desktop/DesktopAudio.h"
#include "desktop/DesktopPorts.h"
#include "desktop/PlaylistRequests.h"
#include "desktop/SonglistRequests.h"
#include "desktop/StyleManagerRequests.h"

namespace chordella::core { class Session; }
namespace chordella::chords {
class ChordEntry;
class PadEditorLink;
struct EntryModifiers;
}  // namespace chordella::chords
namespace chordella::engine {
class TapTempo;
}

namespace chordella::app {
struct AppState;
class LiveArranger;
class SnapshotView;
class SongCreator;
}  // namespace chordella::app

namespace chordella::desktop {

class ActivityOutput;
class DesktopPlaylist;
class DesktopSonglist;
class DesktopStyleManager;
class CreatorImportHooks;
class StyleCreatorDesk;

// What the first start's guide says instead of promising the demo song when nothing can
// be heard.
inline constexpr std::string_view NoSoundGuideText =
    "No audio output was found, so the demo song cannot be heard. Choose a MIDI output in the options, or "
    "render the song to a WAV file (Song \u2192 Render to WAV\u2026).";

class DesktopRemoteHost;
// The name the display gives the built-in synth as the output.
inline constexpr std::string_view BuiltInSynthName = "Built-in synth";

class DesktopCore final : public app::LifecycleLink {
public:
    DesktopCore(core::Session& session, app::AppState& app, app::LifecycleSetup setup = {});
    ~DesktopCore() override;
    DesktopCore(const DesktopCore&) = delete;
    DesktopCore& operator=(const DesktopCore&) = delete;

    // Start-up (see app/Lifecycle.h); the file of the command line is opened as a style.
    void Start(const std::string& commandLineFile = {});
    // Exit: stop, save the settings, close the ports. Runs once.
    app::SaveOutcome Exit();
    // Before the window closes: unsaved documents are offered for saving; `done` gets false
    // when the user cancels (the program then stays).
    void ConfirmExit(std::function<void(bool proceed)> done) { lifecycle_.ConfirmExit(std::move(done)); }
    // The instrument window's "Store": a set text into its settings key, written at once.
    bool StoreInstrumentSetText(int number, const std::string& text) { return lifecycle_.StoreInstrumentSetText(number, text); }

    // --- Chord entry: pads, the on-screen keyboard, the computer keyboard -------------------
    void PadDown(const std::string& pad, const chords::EntryModifiers& modifiers);
    void PadUp(const std::string& pad);
    void ScreenNoteOn(int note, int velocity);
    void ScreenNoteOff(int note, int velocity);
    // True when the key was taken for chords, types or melody notes.
    bool KeyDown(int virtualKey, bool autoRepeat, const chords::EntryModifiers& modifiers);
    bool KeyUp(int virtualKey, const chords::EntryModifiers& modifiers);
    // The " Edit" box: the pads hand their chords to the chord-memory editor.
    void SetEditBox(bool on);
    // The window's size, folding panels, theme and style-browser folders, written to the
    // settings file with the options at exit.
    void StoreWindowSettings(int width, int height, const std::string& panels, int theme, const std::string& styleFolders);
    // The chord-memory editor's side of the pads (nullptr: none).
    void SetPadEditor(chords::PadEditorLink* editor);
    // The window lost the focus: melody notes of the computer keyboard end.
    void ReleaseKeys();

    // --- Transport -------------------------------------------------------------------
    // Space / F10: stops what plays; else plays the song in the chord memory, or starts
    // the style when the chord memory is empty.
    void StartStop();
    void Stop() override;
    void Record();
    // "Step Record".
    void StepRecord();
    // The clock button: on ↔ off.
    void ToggleClock();
    // F1 … F4: 0 fill in, 1 to extended, 2 to basic, 3 ending (the control keys' codes).
    void SectionKeyPressed(int section);
    // The tempo field (25 … 250; other values change nothing).
    void SetTempo(int bpm);
    // F8 / the tap tempo window's button.
    void Tap();
    // The tap tempo window opened: earlier taps no longer count.
    void BeginTapTempo();
    void SetAccompaniment(bool on);
    // "Sync Start": armed until a chord starts the style (slave mode: the external start).
    void ToggleSyncStart();
    // The performance buttons Intro (0), Basic (1) and Extended (2): the part is requested as
    // its control key requests it (at the next beat while the style plays).
    void RequestPart(int part);
    // "Fade": the style fades out and stops.
    void FadeOut();
    // The "Play Parts" menu: part 0 … 7 plays and loops.
    void PlayPart(int part);
    // The start-measure field and the "Loop" box with its measure fields.
    void SetStartMeasure(int measure);
    void SetLoop(bool on, int fromMeasure, int toMeasure);

    // --- The "&Melody" menu --------------------------------------------------------------
    // "&Record", "&Play", "&Delete", "R&estore", "Humanize" or a "&Quantize" grid caption;
    // other captions do nothing.
    void MelodyMenu(const std::string& item);

    // --- Keyboard split and transposition ------------------------------------------------
    // The highest key of the chord zone (the melody zone begins above it).
    void SetSplitKey(int lastChordKey);
    // The octave (−3 … 3) and semitone (−11 … 11) spinners; out of range changes nothing.
    void SetTransposition(int octaves, int semitones);

    // --- Mixer -----------------------------------------------------------------------
    // Controller 7, 10, 91 or 93 (0 … 127) on channel 0 … 15, sent on the main output.
    void SetChannelController(int channel, int controller, int value);
    void SetChannelMute(int channel, bool muted);
    // The "Solo" selector: 0 none, 1 … 16 a channel.
    void SetSolo(int channel);
    // "C. Reset".
    void ResetControllers();

    // --- Options ---------------------------------------------------------------------
    const core::Options& CurrentOptions() const;
    // The options window's OK: the options are taken over, the control keys and the chord
    // zone derived again, ports whose names changed reopened.
    void ApplyOptions(const core::Options& options);
    // An entry of the operating mode list (0 … 7); others change nothing.
    void SetOperatingMode(int mode);
    // A play box of the main window, and the chord codes' channel (0 … 15; others change nothing).
    void SetPlayBox(app::PlayBox box, bool on);
    void SetChordCodeChannel(int channel);
    PortNames ListPorts();
    // The options window's "Audio" page: SoundFonts, devices, what the synth uses now.
    AudioChoices ListAudio();

    // --- Files -----------------------------------------------------------------------
    bool OpenStyle(const std::string& path);
    // The style browser's choice: loaded at once while nothing plays; while a style plays
    // (no song) it takes over at the next measure and the main part plays on.
    void ChangeStyle(const std::string& path);
    bool OpenSong(const std::string& path);
    // Empty: the song's own file (or the save dialog for a new song).
    bool SaveSong(const std::string& path);

    // --- The Style menu's channel rules and volume tools (applied on every load too) ----------
    app::StyleRulesView StyleRules(const app::StyleRulesRequest& request) { return styleRules_->Handle(request); }

    // --- Songlist and song player ----------------------------------------------------------
    void Songlist(const SonglistRequest& request);
    SonglistView ReadSonglist() const;

    // --- The "Style-Manager" window ----------------------------------------------------------
    void StyleManager(const StyleManagerRequest& request);
    // `shownSerial`: the copy the window shows; when nothing changed since, the view only says so.
    StyleManagerView ReadStyleManager(std::uint64_t shownSerial = ~std::uint64_t{0}) const;
    DesktopStyleManager& StyleManagerPanel() { return *styleManager_; }

    // "Render to WAV…": the song as its file holds it, played with the loaded style, or the
    // loaded style alone for eight measures, through the built-in synth into a WAV file.
    // Not while the music runs. The prompter tells the outcome.
    bool RenderToWav(const std::string& path);

    // --- Display ---------------------------------------------------------------------
    // Fills everything the window shows; allocation-free, so it may run at any moment
    // between ticks.
    void FillSnapshot(app::DisplaySnapshot& snapshot) const;
    // The first start's guide text; empty after other starts.
    const std::string& GuideText() const { return guide_; }

    app::LiveArranger& Arranger() { return *arranger_; }
    // The song creator: its generations play at once on the transport.
    app::SongCreator& Creator() { return *creator_; }
    // The style playlist, its search result and the favourites.
    DesktopPlaylist& Playlist() { return *playlist_; }
    // The songlist and its player.
    DesktopSonglist& SonglistPanel() { return *songlist_; }
    // A request of the "Style-Playlist" window; a double-click loads the style.
    PlaylistView StylePlaylist(const PlaylistRequest& request);
    core::Session& GetSession() { return session_; }
    // The program's state the core works on (it belongs to whoever made the core).
    app::AppState& State() { return app_; }
    // The "Style-Creator & Chord-Generator" window's side, made on its first use: its
    // recording is fed by the second input, its import runs with the live clock and style.
    StyleCreatorDesk& StyleCreator();

    // --- Start-up and exit steps (LifecycleLink) --------------------------------------
    void ApplySettings() override;
    bool LoadStyle(const std::string& path, app::StyleLoad how) override;
    void PlayDemoSong(const std::string& path) override;
    void ShowGuide(const std::string& text) override;
    void OpenSonglist(const std::string& path, const std::string& caption) override;
    void SaveSonglist() override;
    void SaveStylePlaylist() override;
    // The style creator's work, when it changed since it was imported, loaded or saved.
    void OfferUnsavedWork(std::function<void(bool proceed)> done) override;
    void SendSystemExclusive(const std::vector<std::uint8_t>& message) override;
    void ShutDownClock() override;
    void ClosePorts() override;
    // Steps of modules this program does not have yet: style presets, the update check;
    // the windows are closed by the window itself.
    void LoadStylePresets(const std::string& /*path*/) override {}
    void CheckForUpdates() override {}
    void CloseWindows() override {}

private:
    bool Running() const;
    // The control keys, the chord zone, chord types, spelling, quantize and meter from the options.
    void ApplyDerivedSettings();
    void FillClock(app::DisplaySnapshot& snapshot) const;
    void FillOutput(app::DisplaySnapshot& snapshot) const;
    void FillSongTitle(app::DisplaySnapshot& snapshot) const;
    void FillStyle(app::DisplaySnapshot& snapshot) const;
    void FillMixer(app::DisplaySnapshot& snapshot) const;

    core::Session& session_;
    app::AppState& app_;
    std::unique_ptr<ActivityOutput> activity_;
    std::unique_ptr<app::LiveArranger> arranger_;
    std::unique_ptr<engine::TapTempo> tapTempo_;
    std::unique_ptr<chords::ChordEntry> entry_;
    std::unique_ptr<DesktopSonglist> songlist_;
    std::unique_ptr<app::SongCreator> creator_;
    std::unique_ptr<DesktopPlaylist> playlist_;
    std::unique_ptr<DesktopStyleManager> styleManager_;
    std::unique_ptr<DesktopRemoteHost> remoteHost_;
    std::unique_ptr<app::LoadedStyleRules> styleRules_;
    app::Lifecycle lifecycle_;
    const app::SnapshotView* view_ = nullptr;
    std::string guide_;
    platform::EventLoop::TimerId tapTimer_ = 0;
    // The style the browser chose while a style played, and the timer that waits for the
    // last beat of the measure.
    void TakePendingStyle();
    std::string pendingStyle_;
    platform::EventLoop::TimerId styleTimer_ = 0;
    // The built-in synth's settings (DesktopAudio.cpp): those it plays with, and whether
    // the options hold newer ones that wait for the music to stop.
    void ApplyStartupAudio();
    void ApplyAudioOptions(const core::Options& before);
    void ApplyAudioNow();
    midi::AudioSettings appliedAudio_;
    bool pendingAudio_ = false;
    platform::EventLoop::TimerId pendingAudioTimer_ = 0;
    // Last, so they go first: the desk plays through the arranger's transport.
    std::unique_ptr<CreatorImportHooks> creatorImports_;
    std::unique_ptr<StyleCreatorDesk> styleCreator_;
};

}  // namespace chordella::desktop
