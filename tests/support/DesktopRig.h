#pragma once
// The desktop window's core over a test session, driven headless: its control loop runs the
// real tick timer, its ports are the session's in-memory devices.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "desktop/DesktopCore.h"
#include "app/SnapshotView.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace chordella::testing {

struct DesktopRig {
    static constexpr int SynthOutput = -1;

    // `bundled`: a first start copies the project's bundled files into the data home.
    // `prompter` replaces the session's scripted one.
    explicit DesktopRig(bool bundled = false, std::unique_ptr<platform::Prompter> prompter = nullptr)
        : t(1, std::make_unique<app::SnapshotView>(), std::move(prompter)), core(*t.session, t.state, Setup(bundled)) {}

    static app::LifecycleSetup Setup(bool bundled) {
        app::LifecycleSetup setup;
        if (bundled) setup.AssetsFolder = AssetsFolder();
        setup.ReadOnlyMedia = [] { return false; };
        return setup;
    }

    app::DisplaySnapshot Snapshot() {
        app::DisplaySnapshot snapshot;
        core.FillSnapshot(snapshot);
        return snapshot;
    }

    int NoteOnsSent(int output = SynthOutput) {
        int count = 0;
        for (const auto& m : t.midi->Sent(output))
            if ((m.Packed & 0xF0) == 0x90 && ((m.Packed >> 16) & 0x7F) != 0) ++count;
        return count;
    }

    bool Sent(int output, std::uint32_t packed) {
        for (const auto& m : t.midi->Sent(output))
            if (m.Packed == packed) return true;
        return false;
    }

    std::string Styles(const std::string& name) const { return t.session->Paths().Styles() + "/" + name; }

    // Runs the control loop for a while (for what must not happen meanwhile).
    void RunFor(std::chrono::milliseconds duration) {
        t.session->Loop().StartTimer(duration, false, [this] { t.session->Loop().Quit(); });
        t.session->Loop().Run();
    }

    // Runs the control loop (the real tick timer plays meanwhile) until `done`, or a minute
    // has passed; answers `done`.
    bool RunUntil(const std::function<bool()>& done) { return t.RunUntil(done); }

    TestSession t;
    desktop::DesktopCore core;
};

}  // namespace chordella::testing
