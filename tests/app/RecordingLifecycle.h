#pragma once
// A lifecycle's other modules that record every step asked of them, in order.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Lifecycle.h"
#include "app/LifecycleLink.h"
#include "core/Session.h"
#include "platform/Paths.h"
#include "support/ScriptedPrompter.h"

namespace chordella::app {

// Records every step the lifecycle asks of the other modules, in order.
class RecordingHooks final : public LifecycleLink {
public:
    explicit RecordingHooks(const platform::Paths& paths) : paths_(paths) {}

    std::vector<std::string> steps;
    std::vector<std::vector<std::uint8_t>> sent;
    std::function<void()> onLoadStyle;

    void ApplySettings() override { steps.push_back("ApplySettings"); }
    void LoadStylePresets(const std::string& path) override { steps.push_back("LoadStylePresets " + path); }
    bool LoadStyle(const std::string& path, StyleLoad how) override {
        steps.push_back(std::string(how == StyleLoad::StartupDefault ? "LoadStyle startup " : "LoadStyle ") + path);
        if (onLoadStyle) onLoadStyle();
        return true;
    }
    void CheckForUpdates() override { steps.push_back("CheckForUpdates"); }
    void PlayDemoSong(const std::string& path) override { steps.push_back("PlayDemoSong " + path); }
    void ShowGuide(const std::string& text) override { steps.push_back("ShowGuide " + text.substr(0, 25)); }
    void OpenSonglist(const std::string& path, const std::string& caption) override {
        steps.push_back("OpenSonglist " + path + " " + caption);
    }
    void SendSystemExclusive(const std::vector<std::uint8_t>& message) override { sent.push_back(message); }
    void Stop() override {
        steps.push_back(std::string("Stop") + (std::filesystem::exists(paths_.IniPath()) ? " (settings on disk)" : ""));
    }
    void SaveStylePlaylist() override {
        steps.push_back(std::string("SaveStylePlaylist") + (std::filesystem::exists(paths_.IniPath()) ? " (settings on disk)" : ""));
    }
    void OfferUnsavedWork(std::function<void(bool proceed)> done) override {
        steps.push_back("OfferUnsavedWork");
        done(true);
    }
    void SaveSonglist() override {}
    void CloseWindows() override { steps.push_back("CloseWindows"); }
    void ShutDownClock() override { steps.push_back("ShutDownClock"); }
    void ClosePorts() override { steps.push_back("ClosePorts"); }

private:
    const platform::Paths& paths_;
};

// One run of the program on the data home in `folder`: a session is made, the lifecycle
// starts, `during` runs (an exit is up to it), and the session ends.
inline void RunProgramOn(const std::string& folder, const LifecycleSetup& setup,
                         const std::function<void(AppState&, Lifecycle&)>& during) {
    core::SessionParts parts;
    parts.prompter = std::make_unique<chordella::testing::ScriptedPrompter>();
    parts.paths = platform::Paths::InFolder(folder);
    core::Session session(std::move(parts));
    AppState state;
    RecordingHooks hooks(session.Paths());
    Lifecycle lifecycle(session, state, hooks, setup);
    lifecycle.Start();
    during(state, lifecycle);
}

}  // namespace chordella::app
