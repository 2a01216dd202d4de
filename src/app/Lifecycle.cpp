#include "app/Lifecycle.h"

#include <cstdio>

#include "app/AppState.h"
#include "core/Session.h"
#include "data/ModuleSetup.h"
#include "platform/Files.h"
#include "platform/SingleInstance.h"
#include "platform/StaleTemporaries.h"
#include "platform/TextCase.h"

namespace chordella::app {

Lifecycle::Lifecycle(core::Session& session, AppState& app, LifecycleLink& hooks, LifecycleSetup setup)
    : session_(session), app_(app), hooks_(hooks), setup_(std::move(setup)), settings_(session.Paths()) {}

Lifecycle::~Lifecycle() {
    if (handOverTimer_ != 0) session_.Loop().StopTimer(handOverTimer_);
}

bool Lifecycle::ReadOnlyMedia() const {
    return setup_.ReadOnlyMedia ? setup_.ReadOnlyMedia() : session_.Paths().ConfigReadOnly();
}

void Lifecycle::Start() {
    if (started_) return;
    started_ = true;
    const platform::Paths& paths = session_.Paths();

    // Folders that cannot be made (read-only media) leave their lists empty; not an error.
    if (!ReadOnlyMedia()) {
        paths.EnsureFolders();
        // Temporaries of saves that were killed (a crash, a power cut) go at the next start.
        for (const std::string& folder : {paths.ConfigDir(), paths.DataDir(), paths.Songs(), paths.Styles(), paths.Lists()})
            platform::RemoveStaleTemporaries(folder);
    }
    if (!platform::FileExists(paths.IniPath()) && !ReadOnlyMedia())
        copied_ = CopyBundledFiles(setup_.AssetsFolder, paths);

    settings_.Load(app_.options, app_.config, setup_.ResetSettings);
    hooks_.ApplySettings();
    const std::string presets = paths.ProgramFile(StylePresets);
    hooks_.LoadStylePresets(platform::FileExists(presets) ? presets : std::string());

    const std::string startupStyle = paths.Styles() + "/" + std::string(StartupStyle);
    if (platform::FileExists(startupStyle)) hooks_.LoadStyle(startupStyle, StyleLoad::StartupDefault);
    if (app_.config.FirstStart) FirstStart();
    else OpenLastSonglist();
    for (const auto& message : data::ModuleSetupMessages(app_.config.Instruments.Name))
        hooks_.SendSystemExclusive(message);

    handOverTimer_ = session_.Loop().StartTimer(setup_.HandOverPoll, true, [this] { TakeHandOver(); });
}

void Lifecycle::FirstStart() {
    const platform::Paths& paths = session_.Paths();
    core::Options& options = app_.options;
    if (options.CheckForUpdates) hooks_.CheckForUpdates();
    const std::string demo = paths.Songs() + "/" + std::string(DemoSong);
    if (platform::FileExists(demo)) hooks_.PlayDemoSong(demo);
    hooks_.ShowGuide(std::string(GuideText));
    options.SonglistFile = paths.Songs() + "/" + std::string(DemoSonglist);
    hooks_.OpenSonglist(options.SonglistFile,
                        "Songlist - " + platform::UpperCase(platform::FileNamePart(options.SonglistFile)));
    options.SongDirectory = paths.Songs() + "/";
}

void Lifecycle::OpenLastSonglist() {
    std::string& stored = app_.options.SonglistFile;
    std::string path = platform::WithForwardSlashes(stored);
    if (stored.empty() || !platform::FileExists(path)) {
        // A list of another machine or one deleted since: the demo list, as a first start has.
        path = session_.Paths().Songs() + "/" + std::string(DemoSonglist);
        if (!platform::FileExists(path)) return;
        stored = path;
    }
    hooks_.OpenSonglist(path, "Songlist - " + platform::UpperCase(platform::FileNamePart(path)));
}

bool Lifecycle::TakeHandOver() {
    const std::string handOver = session_.Paths().ProgramFile(platform::SingleInstance::HandOverFileName);
    const auto argument = platform::SingleInstance::TakeHandOver(handOver);
    if (!argument) return false;
    if (!argument->empty()) hooks_.LoadStyle(*argument, StyleLoad::HandedOver);
    return true;
}

bool Lifecycle::OpenFromCommandLine(const std::string& path) {
    return !path.empty() && hooks_.LoadStyle(path, StyleLoad::CommandLine);
}

bool Lifecycle::StoreInstrumentSetText(int number, const std::string& text) {
    std::string error;
    if (settings_.StoreInstrumentSetText(app_.config, number, text, ReadOnlyMedia(), &error)) return true;
    session_.Prompter().Inform("The instrument set could not be stored (" + error + ") !");
    return false;
}

void Lifecycle::ConfirmExit(std::function<void(bool proceed)> done) {
    if (exited_) return done(true);
    hooks_.OfferUnsavedWork(std::move(done));
}

SaveOutcome Lifecycle::Exit() {
    if (exited_) return exitOutcome_;
    exited_ = true;
    if (handOverTimer_ != 0) {
        session_.Loop().StopTimer(handOverTimer_);
        handOverTimer_ = 0;
    }
    hooks_.Stop();
    std::string error;
    exitOutcome_ = settings_.Save(app_.options, ReadOnlyMedia(), &error);
    if (exitOutcome_ == SaveOutcome::Failed)
        session_.Prompter().Inform("The settings could not be saved (" + error + ") !");
    hooks_.SaveStylePlaylist();
    hooks_.SaveSonglist();
    hooks_.CloseWindows();
    hooks_.ShutDownClock();
    const std::string temporary = session_.Paths().DataDir() + "/" + std::string(TemporaryCopy);
    std::remove(temporary.c_str());
    hooks_.ClosePorts();
    return exitOutcome_;
}

}  // namespace chordella::app
