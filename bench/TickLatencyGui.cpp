#include "TickLatencyGui.h"

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/SnapshotView.h"
#include "core/Session.h"
#include "desktop/DesktopCore.h"
#include "midi/MemoryBackend.h"
#include "platform/Clock.h"
#include "platform/Priority.h"
#include "platform/RecordingPrompter.h"
#include "platform/TickTimer.h"
#include "ui/ControlHost.h"
#include "ui/MainWindow.h"

using namespace chordella;

namespace {

// The view changes after this many ticks (5 s at 120 bpm).
constexpr std::size_t TurnTicks = 240;

}  // namespace

bool MeasureWithWindow(int bpm, std::size_t ticks, bool realtime, ViewSamples& normal, ViewSamples& stage) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    char pattern[] = "/tmp/chordella-tick-latency-XXXXXX";
    const char* home = mkdtemp(pattern);
    if (home == nullptr) return false;
    static int argc = 1;
    static char name[] = "tick_latency";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    core::SessionParts parts;
    parts.prompter = std::make_unique<platform::RecordingPrompter>();
    parts.paths = platform::Paths::InFolder(home);
    parts.view = std::make_unique<app::SnapshotView>();
    auto backend = std::make_unique<midi::MemoryBackend>();
    backend->AddOutput("Sound Module");
    parts.midiBackend = std::move(backend);
    ui::HostSetup setup;
    setup.Lifecycle.AssetsFolder = CHORDELLA_SOURCE_ASSETS;  // the first start plays the demo song
    setup.Lifecycle.ReadOnlyMedia = [] { return false; };

    std::atomic<bool> done{false};
    std::atomic<bool> staged{false};  // the view shown: the tick files its sample under it
    normal.samples.reserve(ticks + TurnTicks);
    stage.samples.reserve(ticks + TurnTicks);
    {
        ui::ControlHost host(std::make_unique<core::Session>(std::move(parts)), setup);
        ui::MainWindow window(host);
        window.resize(1280, 860);
        window.show();

        std::unique_ptr<platform::TickTimer> timer;
        host.Barrier([&](desktop::DesktopCore& core) {
            timer = std::make_unique<platform::TickTimer>(core.GetSession().Loop(), [&](const platform::TickInfo& info) {
                const std::int64_t now = platform::NowMicros();
                std::vector<TickSample>& samples = staged ? stage.samples : normal.samples;
                if (samples.size() < ticks)
                    samples.push_back({now - info.dueMicros, info.firedMicros - info.dueMicros, now - info.firedMicros});
                if (normal.samples.size() >= ticks && stage.samples.size() >= ticks) done = true;
            });
            timer->SetTempo(bpm);
            if (realtime) {
                platform::SetCurrentThreadRealtime(true);
                timer->SetRealtime(true);
            }
        });

        // The stress: every turn of the GUI loop resizes the window and repaints it whole; the
        // view changes every few seconds, while a view that has its ticks lets the other catch up.
        QTimer stress;
        int step = 0;
        QObject::connect(&stress, &QTimer::timeout, &window, [&] {
            ++step;
            const std::size_t normalTicks = normal.samples.size(), stageTicks = stage.samples.size();
            const bool turn = ((normalTicks + stageTicks) / TurnTicks) % 2 == 1;
            const bool wantStage = normalTicks >= ticks ? true : stageTicks >= ticks ? false : turn;
            if (wantStage != staged) {
                window.SetStageView(wantStage);
                staged = wantStage;
            }
            window.resize(1100 + (step % 40) * 8, 760 + (step % 25) * 6);
            window.RefreshFromCore();
            window.repaint();
            ++(staged ? stage.repaints : normal.repaints);
            if (done) application.quit();
        });
        stress.start(0);
        QApplication::exec();
        host.Barrier([&](desktop::DesktopCore&) { timer.reset(); });
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return true;
}
