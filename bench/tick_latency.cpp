// tick_latency [--seconds N] [--bpm B] [--busy T] [--realtime] [--every] [--gui]
//
// Runs the tick timer with a trivial tick on the control thread and reports, in µs:
//   lateness  - when the tick ran on the control thread, against its ideal due time
//   wake      - when the timer thread woke, against the due time
//   hand-off  - from the timer thread's wake to the tick running on the control thread
// --realtime asks for real-time scheduling the way the program does, and the report says
// which scheduling each thread got. --busy T starts T threads that spin, to measure under load; --every prints each tick.
// --gui measures on the desktop host's control thread while its window repaints at full
// speed, in turns in the normal and the stage view, and reports each (see TickLatencyGui.h).
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Priority.h"
#include "platform/TickTimer.h"
#include "TickSample.h"
#ifdef CHORDELLA_BENCH_GUI
#include "TickLatencyGui.h"
#endif

using namespace chordella::platform;

namespace {

using Sample = TickSample;

std::int64_t Percentile(std::vector<std::int64_t> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

void Report(const char* name, const std::vector<Sample>& samples, std::int64_t Sample::*field) {
    std::vector<std::int64_t> values;
    values.reserve(samples.size());
    for (const auto& s : samples) values.push_back(s.*field);
    std::printf("%-9s p50 %6lld  p99 %6lld  max %6lld\n", name, static_cast<long long>(Percentile(values, 0.50)),
                static_cast<long long>(Percentile(values, 0.99)),
                static_cast<long long>(*std::max_element(values.begin(), values.end())));
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 10;
    int bpm = 120;
    int busy = 0;
    bool realtime = false;
    bool every = false;
    bool gui = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
        else if (arg == "--bpm" && i + 1 < argc) bpm = std::atoi(argv[++i]);
        else if (arg == "--busy" && i + 1 < argc) busy = std::atoi(argv[++i]);
        else if (arg == "--realtime") realtime = true;
        else if (arg == "--every") every = true;
        else if (arg == "--gui") gui = true;
        else {
            std::fprintf(stderr, "usage: tick_latency [--seconds N] [--bpm B] [--busy T] [--realtime] [--every] [--gui]\n");
            return 2;
        }
    }
    if (bpm < 25 || bpm > 250 || seconds <= 0) {
        std::fprintf(stderr, "tick_latency: bpm must be 25 … 250 and seconds positive\n");
        return 2;
    }

    std::atomic<bool> stopBusy{false};
    std::vector<std::thread> spinners;
    for (int i = 0; i < busy; ++i)
        spinners.emplace_back([&] {
            volatile std::uint64_t sink = 0;
            while (!stopBusy.load(std::memory_order_relaxed)) sink = sink + 1;
        });

    const auto ticks = static_cast<std::size_t>(seconds * 24.0 * bpm / 60.0);
    std::vector<Sample> samples;
    samples.reserve(ticks);
    if (gui) {
#ifdef CHORDELLA_BENCH_GUI
        ViewSamples normal, stage;
        if (!MeasureWithWindow(bpm, ticks, realtime, normal, stage)) {
            std::fprintf(stderr, "tick_latency: the window could not be made\n");
            return 1;
        }
        for (const auto& [name, view] : {std::pair<const char*, ViewSamples*>{"normal view", &normal}, {"stage view", &stage}}) {
            std::printf("%s: %zu ticks at %d bpm, window repaints meanwhile: %ld\n", name, view->samples.size(), bpm,
                        view->repaints);
            Report("lateness", view->samples, &Sample::lateness);
            Report("wake", view->samples, &Sample::wake);
            Report("hand-off", view->samples, &Sample::handOff);
        }
        stopBusy = true;
        for (auto& t : spinners) t.join();
        return 0;
#else
        std::fprintf(stderr, "tick_latency: built without the desktop window (CHORDELLA_GUI=OFF)\n");
        return 2;
#endif
    } else {
        EventLoop loop;
        TickTimer timer(loop, [&](const TickInfo& info) {
            const std::int64_t now = NowMicros();
            samples.push_back({now - info.dueMicros, info.firedMicros - info.dueMicros, now - info.firedMicros});
            if (samples.size() >= ticks) loop.Quit();
        });
        // Start from inside the running loop, so the first tick does not wait for Run.
        loop.Post([&] {
            timer.SetTempo(bpm);
            if (realtime) {
                const RealtimeWay control = SetCurrentThreadRealtime(true);
                const RealtimeWay tick = timer.SetRealtime(true);
                std::printf("scheduling: control thread %s, timer thread %s\n", RealtimeWayName(control).data(),
                            RealtimeWayName(tick).data());
            } else {
                std::printf("scheduling: normal (run with --realtime to ask for real time)\n");
            }
        });
        loop.Run();
        timer.Stop();
    }
    stopBusy = true;
    for (auto& t : spinners) t.join();

    std::printf("%zu ticks at %d bpm (period %lld µs), %d busy thread(s)\n", samples.size(), bpm,
                static_cast<long long>(TickTimer::PeriodMicros(bpm)), busy);
    Report("lateness", samples, &Sample::lateness);
    Report("wake", samples, &Sample::wake);
    Report("hand-off", samples, &Sample::handOff);
    if (every)
        for (std::size_t i = 0; i < samples.size(); ++i)
            std::printf("%zu %lld\n", i, static_cast<long long>(samples[i].lateness));
    return 0;
}
