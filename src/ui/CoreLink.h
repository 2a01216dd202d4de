#pragma once
// What the desktop window's widgets ask of the program core. Every call is made on the
// window's (GUI) thread and returns at once: the request is carried over to the control
// thread, which owns all state, and runs there in the order it was made. Nothing here
// waits for the core; answers that need the core's data come back through a callback that
// runs later on the GUI thread.
//
// The desktop host implements it; widget tests use a recording fake.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/DisplaySnapshot.h"
#include "app/LoadedStyleRules.h"
#include "app/PlayBoxes.h"
#include "app/SongCreator.h"
#include "app/SongEditing.h"
#include "core/Options.h"
#include "desktop/BatchDesk.h"
#include "desktop/DesktopAudio.h"
#include "desktop/InstrumentSetDesk.h"
#include "desktop/PlaylistRequests.h"
#include "desktop/RemoteRequests.h"
#include "desktop/SonglistRequests.h"
#include "desktop/StyleConverterDesk.h"
#include "desktop/StyleCreatorRequests.h"
#include "desktop/StyleManagerRequests.h"
#include "desktop/StyleSource.h"

namespace chordella::ui {

// The keyboard's modifier keys and the mouse button at the moment of a click or key.
struct Modifiers {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
    bool LeftButton = true;
};

// The port lists of the options window.
struct PortLists {
    std::vector<std::string> Inputs;
    std::vector<std::string> Outputs;  // the built-in synth first, when there is one
    std::string BuiltInSynth;          // that first entry's name; empty when there is none
};

// The main window's own settings, kept in the settings file with the options.
struct WindowSettings {
    int Width = 0;             // 0: fitted to the screen
    int Height = 0;
    std::string Panels;        // the folding panels' state (MainWindow's own text)
    int Theme = 0;             // 0 dark stage, 1 light
    std::string StyleFolders;  // the style browser's added folders, ";" between
};

struct SongCreatorRequest {
    // ChordView: the chord view's commands (Entry 1: mixed common progressions, 0: completely random).
    // AnotherStyle: "Use another style !" of the "PLAY ..." window.
    enum Kind { ListEntry, CreateChords, CompletelyRandom, RandomStyle, Regenerate, ExportList, ChordView, AnotherStyle };
    Kind What = CreateChords;
    int Entry = 0;                        // ListEntry: the list entry clicked
    // The song creator window's options at the moment of the click; none: the options stay
    // as the window last sent them (the chord view's commands).
    std::optional<composer::SongCreatorOptions> Options;
    std::vector<int> Locked;              // Regenerate: measures kept
};

class CoreLink {
public:
    virtual ~CoreLink() = default;

    // --- Chord entry: pads, the on-screen keyboard, the computer keyboard ---------------
    // A chord pad ("A00" … "K11", "M00" … "M23") or section button ("L00" … "L04").
    virtual void PadDown(const std::string& pad, Modifiers modifiers) = 0;
    virtual void PadUp(const std::string& pad) = 0;
    virtual void ScreenNoteOn(int note, int velocity) = 0;
    virtual void ScreenNoteOff(int note, int velocity) = 0;
    // A key of the computer keyboard as a Windows-style virtual-key code (letters and
    // digits are their ASCII capitals; punctuation uses the 0xBA … 0xDE codes).
    virtual void KeyDown(int virtualKey, bool autoRepeat, Modifiers modifiers) = 0;
    virtual void KeyUp(int virtualKey, Modifiers modifiers) = 0;

    // --- Transport ------------------------------------------------------------------------
    virtual void StartStop() = 0;          // F10 / space
    virtual void Stop() = 0;
    virtual void Record() = 0;             // F9
    virtual void SectionKeyPressed(int section) = 0;  // F1 … F4: 0 fill in, 1 to extended, 2 to basic, 3 ending
    virtual void SetTempo(int bpm) = 0;    // 25 … 250
    virtual void Tap() = 0;                // the tap tempo window's button, Enter and F8
    virtual void BeginTapTempo() = 0;      // the tap tempo window opened: a new series of taps
    virtual void SetAccompaniment(bool on) = 0;

    // --- Mixer ----------------------------------------------------------------------------
    // A controller of the mixer (7 volume, 10 pan, 91 reverb, 93 chorus) on channel 0 … 15.
    virtual void SetChannelController(int channel, int controller, int value) = 0;
    virtual void SetChannelMute(int channel, bool muted) = 0;
    // The "Solo" selector: 0 none, 1 … 16 a channel.
    virtual void SetSolo(int channel) = 0;
    virtual void ResetControllers() = 0;   // "C. Reset"

    // --- Options --------------------------------------------------------------------------
    // The options as they are now; `done` runs on the GUI thread.
    virtual void ReadOptions(std::function<void(const core::Options&)> done) = 0;
    // The options window's OK: the options are taken over, ports reopened when their names
    // changed, keys and zones derived again.
    virtual void ApplyOptions(const core::Options& options) = 0;
    // An entry of the operating mode list (0 "Accompaniment on" … 7 "Splitted Keyboard").
    virtual void SetOperatingMode(int mode) = 0;
    virtual void ListPorts(std::function<void(const PortLists&)> done) = 0;
    // The "Audio" page's lists and what the built-in synth uses now.
    virtual void ListAudio(std::function<void(const desktop::AudioChoices&)> /*done*/) {}

    // --- Files ----------------------------------------------------------------------------
    virtual void OpenStyle(const std::string& path) = 0;
    // The style browser's choice: at once while nothing plays, else at the next measure.
    virtual void ChangeStyle(const std::string& path) { OpenStyle(path); }
    virtual void OpenSong(const std::string& path) = 0;
    virtual void SaveSong(const std::string& path) = 0;  // empty: the song's own file

    // --- The songlist window and its song player ------------------------------------------
    virtual void Songlist(const desktop::SonglistRequest& request) = 0;
    // The list as it is now; `done` runs on the GUI thread.
    virtual void ReadSonglist(std::function<void(const desktop::SonglistView&)> done) = 0;

    // --- The main window's own fields and buttons --------------------------------------------
    // (Defaults do nothing, so a fake that records only what it needs stays small.)
    virtual void StepRecord() {}                       // "Step Record"
    virtual void ToggleClock() {}                      // the clock button
    virtual void ToggleSyncStart() {}                  // "Sync Start": arm, or stop and arm
    virtual void PlayPart(int /*part*/) {}             // "Play Parts": 0 Intro … 7 To Basic
    virtual void RequestPart(int /*part*/) {}          // performance buttons: 0 Intro, 1 Basic, 2 Extended
    virtual void FadeOut() {}                          // "Fade"
    virtual void SetStartMeasure(int /*measure*/) {}   // the start-measure field
    virtual void SetLoop(bool /*on*/, int /*fromMeasure*/, int /*toMeasure*/) {}  // "Loop" and its fields
    virtual void SetSplitKey(int /*lastChordKey*/) {}  // the split spinner: highest chord key
    virtual void SetTransposition(int /*octaves*/, int /*semitones*/) {}  // the transposition spinners
    virtual void SetEditBox(bool /*on*/) {}            // " Edit": pads feed the chord-memory editor
    virtual void FocusLost() {}                        // held computer keys end
    // An item of the "&Melody" menu by its caption: "&Record", "&Play", "&Delete",
    // "R&estore", "Humanize", or a grid of "&Quantize" ("1/32 swing" … "None").
    virtual void MelodyMenu(const std::string& /*item*/) {}
    // "Song → Render to WAV…": the open song (or style) into this WAV file.
    virtual void RenderToWav(const std::string& /*path*/) {}
    // The window's size, panels, theme and browser folders, stored with the settings at exit.
    virtual void StoreWindowSettings(const WindowSettings& /*settings*/) {}
    // The data home's styles folder (the style browser's first folder); empty: none.
    virtual std::string StylesFolder() const { return {}; }
    // The data home's songs folder (where the song dialogs start); empty: none.
    virtual std::string SongsFolder() const { return {}; }

    // --- The "Style-Manager" window -------------------------------------------------------
    virtual void StyleManager(const desktop::StyleManagerRequest& /*request*/) {}
    // The manager as it is now; `done` runs on the GUI thread. When its Serial is still
    // `shownSerial`, the view only says Unchanged.
    virtual void ReadStyleManager(std::uint64_t /*shownSerial*/,
                                  std::function<void(const desktop::StyleManagerView&)> /*done*/) {}

    // --- The song creator -----------------------------------------------------------------
    // A command of the "Chordprogression / Song Creator" window with the window's options;
    // `done` receives the song made (Generated false when nothing was made) on the GUI thread.
    virtual void SongCreatorCommand(const SongCreatorRequest& /*request*/,
                                    std::function<void(const app::SongCreatorResult&)> /*done*/) {}
    // The main window's key list (0 … 11, fifths order) and mode list (0 … 6): the key of the
    // songs made while "Randomly choose key" is off.
    virtual void SetSongKey(int /*keyIndex*/, int /*modeIndex*/) {}
    // A play box of the mixer page (the snapshot shows them), and the channel (0 … 15) beside
    // " Send Chord Codes  (Controllers #19,  #20)  to Ch.".
    virtual void SetPlayBox(app::PlayBox /*box*/, bool /*on*/) {}
    virtual void SetChordCodeChannel(int /*channel*/) {}
    // The "PLAY ..." window's pop-up: where the random style choice draws from; `done` gets
    // the ticks afterwards, on the GUI thread.
    virtual void StyleSource(desktop::StyleSourceRequest /*request*/, std::function<void(const desktop::StyleSourceView&)> /*done*/) {}
    // --- The chord-memory editor -----------------------------------------------------------
    // The song's grid as the editor shows it; `done` runs on the GUI thread.
    virtual void ReadSongGrid(std::function<void(const app::SongGridView&)> /*done*/) {}
    // An edit of the editor; the reply (a refusal message, the grid refilled) comes to `done`.
    virtual void EditSong(const app::SongEditRequest& /*request*/,
                          std::function<void(const app::SongEditReply&)> /*done*/) {}
    // "Lead Sheet": writes the text file beside the song and hands back its text.
    virtual void WriteLeadSheet(bool /*chordsOnly*/, std::function<void(const app::LeadSheetOutcome&)> /*done*/) {}
    // "Controller-Values": the channel-value text.
    virtual void ReadChannelValues(std::function<void(const std::string&)> /*done*/) {}
    // "Export Chart ...": the song's chords as a chart file ("chordpro", "musicxml", "ireal"),
    // transposed by `transpose` semitones; `done` gets an empty text or why it failed.
    virtual void ExportChart(const std::string& /*path*/, const std::string& /*format*/, int /*transpose*/,
                             std::function<void(const std::string&)> /*done*/) {}
    // "Import Chart ...": the song is replaced by the chart's chords.
    virtual void ImportChart(const std::string& /*path*/, std::function<void(const app::SongEditReply&)> /*done*/) {}
    // A double-click on a measure of the editor: the song plays from there.
    virtual void PlayFromMeasure(int /*measure*/) {}
    // The editor's live chord entry: its boxes, whether it is shown and active, the selected beat.
    virtual void SetEditorLiveInput(const app::EditorLiveInput& /*input*/) {}

    // --- The style playlist ------------------------------------------------------------------
    // A request of the "Style-Playlist" window; `done` gets the lists afterwards on the GUI thread.
    virtual void StylePlaylist(const desktop::PlaylistRequest& /*request*/,
                               std::function<void(const desktop::PlaylistView&)> /*done*/) {}
    // --- The style creator ------------------------------------------------------------------
    // A request of the "Style-Creator & Chord-Generator" window; `done` gets what the window
    // shows afterwards, on the GUI thread.
    virtual void StyleCreatorCommand(const desktop::CreatorRequest& /*request*/,
                                     std::function<void(const desktop::CreatorView&)> /*done*/) {}
    // The window is about to close: the core asks its exit questions (unsaved documents);
    // `done` gets false, on the GUI thread, when the user chose to stay.
    virtual void ConfirmExit(std::function<void(bool proceed)> done) { done(true); }

    // --- The style converter --------------------------------------------------------------
    // A request of the "Styleconverter" window; `done` gets what the window shows, on the GUI thread.
    virtual void StyleConverterCommand(const desktop::ConverterRequest& /*request*/,
                                       std::function<void(const desktop::ConverterView&)> /*done*/) {}

    // --- The "MIDI Commands" and "MIDI Controls" windows ------------------------------------
    // A request of either window; `done` gets the remote control's state afterwards, on the GUI thread.
    virtual void RemoteCommand(const desktop::RemoteRequest& /*request*/, std::function<void(const desktop::RemoteView&)> /*done*/) {}
    // --- The "Instruments" window -------------------------------------------------------------
    // A request of the window; `done` gets the keys afterwards, on the GUI thread.
    virtual void InstrumentSets(const desktop::InstrumentRequest& /*request*/,
                                std::function<void(const desktop::InstrumentView&)> /*done*/) {}
    // --- The batch processor ----------------------------------------------------------------
    // A request of the "BATCH PROCESSOR ..." window; `done` gets what it shows, on the GUI thread.
    virtual void BatchCommand(const desktop::BatchRequest& /*request*/, std::function<void(const desktop::BatchView&)> /*done*/) {}
    // --- The Style menu's channel rules and volume tools -------------------------------------
    // A checked item or command of the Style menu; `done` gets the items' states afterwards.
    virtual void StyleRulesCommand(const app::StyleRulesRequest& /*request*/,
                                   std::function<void(const app::StyleRulesView&)> /*done*/) {}

    // --- Display --------------------------------------------------------------------------
    // The display as the control thread last published it.
    virtual app::DisplaySnapshot Snapshot() const = 0;
};

}  // namespace chordella::ui
