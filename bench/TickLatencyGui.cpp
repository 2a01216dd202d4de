#include "TickLatencyGui.h"

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/DesktopCore.h"
#include "core/Session.h"
#include "app/SnapshotView.h"
#include "midi/MemoryBackend.h"
#include "platform/Clock.h"
#include "platform/Priority.h"
#include "platform/ScriptedPrompter.h"
#include "platform/TickTimer.h"
#include "ui/ControlHost.h"
#include "ui/MainWindow.h"

using namespace chordella;

bool MeasureWithWindow(int bpm, std::size_t ticks, bool realtime, std::vector<TickSample>& samples, long& repaints) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    char pattern[] = "/tmp/chordella-tick-latency-XXXXXX";
    const char* home = mkdtemp(pattern);
    if (home == nullptr) return false;
    static int argc = 1;
    static char name[] = "tick_latency";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    core::SessionParts parts;
    parts.prompter = std::make_unique<platform::ScriptedPrompter>();
    parts.paths = platform::Paths::InFolder(home);
    parts.view = std::make_unique<app::SnapshotView>();
    auto backend = std::make_unique<midi::MemoryBackend>();
    backend->AddOutput("Sound Module");
    parts.midiBackend = std::move(backend);
    ui::HostSetup setup;
    setup.Lifecycle.AssetsFolder = CHORDELLA_SOURCE_ASSETS;  // the first start plays the demo song
    setup.Lifecycle.ReadOnlyMedia = [] { return false; };

    std::atomic<bool> done{false};
    {
        ui::ControlHost host(std::make_unique<core::Session>(std::move(parts)), setup);
        ui::MainWindow window(host);
        window.resize(1280, 860);
        window.show();

        std::unique_ptr<platform::TickTimer> timer;
        host.Barrier([&](app::DesktopCore& core) {
            timer = std::make_unique<platform::TickTimer>(core.GetSession().Loop(), [&](const platform::TickInfo& info) {
                const std::int64_t now = platform::NowMicros();
                if (samples.size() < ticks)
                    samples.push_back({now - info.dueMicros, info.firedMicros - info.dueMicros, now - info.firedMicros});
                if (samples.size() >= ticks) done = true;
            });
            timer->SetTempo(bpm);
            if (realtime) {
                platform::SetCurrentThreadRealtime(true);
                timer->SetRealtime(true);
            }
        });

        // The stress: every turn of the GUI loop resizes the window and repaints it whole.
        QTimer stress;
        int step = 0;
        QObject::connect(&stress, &QTimer::timeout, &window, [&] {
            ++step;
            window.resize(1100 + (step % 40) * 8, 760 + (step % 25) * 6);
            window.RefreshFromCore();
            window.repaint();
            ++repaints;
            if (done) application.quit();
        });
        stress.start(0);
        QApplication::exec();
        host.Barrier([&](app::DesktopCore&) { timer.reset(); });
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return true;
}
