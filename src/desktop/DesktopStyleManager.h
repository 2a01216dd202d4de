#pragma once
// The style manager of the desktop: the window's requests run here, with the loaded style,
// loading and the transport the core lends it, and the manager is the random style choice's
// list (its files with "Random" ticked, else its current group).
//
// Control thread only.

#include <functional>
#include <memory>
#include <string>

#include "composer/RandomStyleChoice.h"
#include "core/StylePlaylistLink.h"
#include "desktop/StyleManagerRequests.h"

namespace chordella::app { struct AppState; }
namespace chordella::core { class Session; }
namespace chordella::library { class StyleManager; }

namespace chordella::desktop {

// What the manager needs of the core to load and play.
struct StyleManagerTransport {
    // Loads a style; `then` gets whether it was loaded, at once or (after a question the load
    // asked) later.
    std::function<void(const std::string& path, std::function<void(bool loaded)> then)> Load;
    std::function<void()> PlayBasic;                    // plays the loaded style's Basic from its start
    std::function<void()> Stop;
};

class DesktopStyleManager final : public composer::StyleListLink {
public:
    DesktopStyleManager(core::Session& session, app::AppState& app, StyleManagerTransport transport,
                        core::StylePlaylistLink& playlist);
    ~DesktopStyleManager() override;
    DesktopStyleManager(const DesktopStyleManager&) = delete;
    DesktopStyleManager& operator=(const DesktopStyleManager&) = delete;

    // Reads the group file and the start folder; a damaged group file is reported.
    void Open();
    void Handle(const StyleManagerRequest& request);
    // The whole view, or only Unchanged when its Serial is `shownSerial` (a window polling
    // a folder of many files copies nothing then).
    StyleManagerView View(std::uint64_t shownSerial = ~std::uint64_t{0}) const;
    library::StyleManager& Manager() { return *manager_; }

    // The random style choice's list.
    composer::StyleListKind Kind() const override;
    std::vector<std::string> Entries() const override;
    bool NextTicked() const override { return false; }
    int SelectedIndex() const override;
    int FindNext() override { return -1; }
    void ShowChosen(int index) override;

private:
    void AddLoadedStyle(const std::string& description);
    void LoadAndPlay(const std::string& path);

    core::Session& session_;
    app::AppState& app_;
    StyleManagerTransport transport_;
    std::unique_ptr<library::StyleManager> manager_;
    bool opened_ = false;
    // Loads that finish after a question check this is still alive.
    std::shared_ptr<DesktopStyleManager*> alive_;
};

}  // namespace chordella::desktop
