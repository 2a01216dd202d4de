#pragma once
// The desktop window's link to the program core. The core (desktop::DesktopCore) lives on a
// control thread of its own that runs the session's event loop; every request of the
// window is posted there and runs in order, so painting never delays a tick and the window
// never touches core state.
//
// What the window shows comes back as a display snapshot: a control-thread timer (between
// ticks, never inside one) fills a snapshot of its own and, when anything changed, copies
// it into the shared one under a mutex taken with try_lock — when the window's thread holds
// it, that round is skipped. Snapshot() copies the shared one out under the same mutex.
//
// Construct and destroy on the window's (GUI) thread; the CoreLink methods are for that
// thread too.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "app/AppState.h"
#include "app/DisplaySnapshot.h"
#include "app/Lifecycle.h"
#include "ui/CoreLink.h"

class QObject;

namespace chordella::core { class Session; }
namespace chordella::desktop {
class StyleCreatorDesk;
class StyleConverterDesk;
class BatchDesk;
class DesktopCore;
class EditorChordInput;
class DesktopRemote;
class InstrumentSetDesk;
}  // namespace chordella::desktop

namespace chordella::ui {

struct HostSetup {
    app::LifecycleSetup Lifecycle;
    std::string CommandLineFile;  // opened as a style after start-up
    std::chrono::milliseconds PublishEvery{40};
};

class ControlHost final : public CoreLink {
public:
    // The session should be made with an app::SnapshotView as its view (else the window
    // shows no chord). Starts the control thread, which makes the core and starts it up.
    ControlHost(std::unique_ptr<core::Session> session, HostSetup setup = {});
    // Ends the loop; the control thread goes through the exit sequence and ends.
    ~ControlHost() override;
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    void PadDown(const std::string& pad, Modifiers modifiers) override;
    void PadUp(const std::string& pad) override;
    void ScreenNoteOn(int note, int velocity) override;
    void ScreenNoteOff(int note, int velocity) override;
    void KeyDown(int virtualKey, bool autoRepeat, Modifiers modifiers) override;
    void KeyUp(int virtualKey, Modifiers modifiers) override;

    void StartStop() override;
    void Stop() override;
    void Record() override;
    void SectionKeyPressed(int section) override;
    void SetTempo(int bpm) override;
    void Tap() override;
    void BeginTapTempo() override;
    void SetAccompaniment(bool on) override;

    void SetChannelController(int channel, int controller, int value) override;
    void SetChannelMute(int channel, bool muted) override;
    void SetSolo(int channel) override;
    void ResetControllers() override;

    void ReadOptions(std::function<void(const core::Options&)> done) override;
    void ApplyOptions(const core::Options& options) override;
    void SetOperatingMode(int mode) override;
    void ListPorts(std::function<void(const PortLists&)> done) override;
    void ListAudio(std::function<void(const desktop::AudioChoices&)> done) override;

    void OpenStyle(const std::string& path) override;
    void ChangeStyle(const std::string& path) override;
    void OpenSong(const std::string& path) override;
    void SaveSong(const std::string& path) override;
    void RenderToWav(const std::string& path) override;
    void StyleManager(const desktop::StyleManagerRequest& request) override;
    void ReadStyleManager(std::uint64_t shownSerial, std::function<void(const desktop::StyleManagerView&)> done) override;
    void StoreWindowSettings(const WindowSettings& settings) override;
    std::string StylesFolder() const override { return stylesFolder_; }
    std::string SongsFolder() const override { return songsFolder_; }

    void Songlist(const desktop::SonglistRequest& request) override;
    void ReadSonglist(std::function<void(const desktop::SonglistView&)> done) override;
    void StylePlaylist(const desktop::PlaylistRequest& request, std::function<void(const desktop::PlaylistView&)> done) override;
    void RemoteCommand(const desktop::RemoteRequest& request, std::function<void(const desktop::RemoteView&)> done) override;

    void StepRecord() override;
    void ToggleClock() override;
    void ToggleSyncStart() override;
    void PlayPart(int part) override;
    void RequestPart(int part) override;
    void FadeOut() override;
    void SetStartMeasure(int measure) override;
    void SetLoop(bool on, int fromMeasure, int toMeasure) override;
    void SetSplitKey(int lastChordKey) override;
    void SetTransposition(int octaves, int semitones) override;
    void SetEditBox(bool on) override;
    void FocusLost() override;
    void MelodyMenu(const std::string& item) override;
    void StyleConverterCommand(const desktop::ConverterRequest& request,
                               std::function<void(const desktop::ConverterView&)> done) override;
    void StyleCreatorCommand(const desktop::CreatorRequest& request,
                             std::function<void(const desktop::CreatorView&)> done) override;
    void StyleRulesCommand(const app::StyleRulesRequest& request,
                           std::function<void(const app::StyleRulesView&)> done) override;
    void ConfirmExit(std::function<void(bool proceed)> done) override;
    void SongCreatorCommand(const SongCreatorRequest& request,
                            std::function<void(const app::SongCreatorResult&)> done) override;
    void SetSongKey(int keyIndex, int modeIndex) override;
    void SetPlayBox(app::PlayBox box, bool on) override;
    void SetChordCodeChannel(int channel) override;
    void InstrumentSets(const desktop::InstrumentRequest& request, std::function<void(const desktop::InstrumentView&)> done) override;
    void StyleSource(desktop::StyleSourceRequest request, std::function<void(const desktop::StyleSourceView&)> done) override;
    void BatchCommand(const desktop::BatchRequest& request, std::function<void(const desktop::BatchView&)> done) override;

    void ReadSongGrid(std::function<void(const app::SongGridView&)> done) override;
    void EditSong(const app::SongEditRequest& request, std::function<void(const app::SongEditReply&)> done) override;
    void WriteLeadSheet(bool chordsOnly, std::function<void(const app::LeadSheetOutcome&)> done) override;
    void ReadChannelValues(std::function<void(const std::string&)> done) override;
    void PlayFromMeasure(int measure) override;
    void SetEditorLiveInput(const app::EditorLiveInput& input) override;
    void ExportChart(const std::string& path, const std::string& format, int transpose,
                     std::function<void(const std::string&)> done) override;
    void ImportChart(const std::string& path, std::function<void(const app::SongEditReply&)> done) override;

    app::DisplaySnapshot Snapshot() const override;

    // Runs `task` on the control thread with the core and waits until it ran. Tests and
    // tools only: the window's own requests never wait (a dialog the core shows would
    // deadlock a window that waits for the core).
    void Barrier(const std::function<void(desktop::DesktopCore&)>& task);
    // Runs `task` on the control thread later.
    void Post(std::function<void(desktop::DesktopCore&)> task);
    // True once start-up has run on the control thread.
    bool Started() const { return started_.load(); }

private:
    void Run(HostSetup setup);
    void Publish();
    // Runs `done` on the window's thread (when the host still exists then).
    void ToWindow(std::function<void()> done);

    std::unique_ptr<core::Session> session_;
    app::AppState state_;  // the program's state; the control thread's modules work on it
    std::string stylesFolder_;  // read once before the control thread starts
    std::string songsFolder_;
    std::unique_ptr<desktop::DesktopCore> core_;  // made, used and destroyed on the control thread
    std::unique_ptr<app::SongEditing> editing_;  // the editor's state, on the control thread too
    std::unique_ptr<desktop::EditorChordInput> editorInput_;  // the editor's live chord entry, control thread
    std::unique_ptr<desktop::StyleConverterDesk> styleConverter_;  // made on the first request, control thread
    std::unique_ptr<desktop::DesktopRemote> remote_;  // made on the first request, control thread
    std::unique_ptr<desktop::BatchDesk> batch_;  // made on the first request, control thread
    std::unique_ptr<desktop::InstrumentSetDesk> instruments_;  // made on the first request, control thread
    std::unique_ptr<QObject> windowContext_;  // lives on the window's thread: answers go there
    std::thread thread_;
    std::atomic<bool> started_{false};

    app::DisplaySnapshot filling_;    // control thread
    app::DisplaySnapshot published_;  // control thread: the last one published
    bool pending_ = false;            // control thread: published_ not yet in shared_
    mutable std::mutex sharedMutex_;
    app::DisplaySnapshot shared_;
};

}  // namespace chordella::ui
