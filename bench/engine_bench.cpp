// The cost of the tick procedure on a dense style: 16 channels playing sixteenth notes
// with controllers on every beat, half of them on sustained programs that are re-voiced,
// and a new chord on every beat. Reports p50 and p99 of single ticks and the throughput
// of the virtual clock (ticks per second) used for offline rendering.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "DenseStyle.h"

namespace {

using namespace chordella;

constexpr int Measures = 4;

// Four measures: every channel plays a sixteenth note every 6 ticks (off after 3), and
// sends volume and expression on each beat; half the channels on sustained programs.
struct Rig : bench::DenseRig {
    Rig() {
        std::vector<std::uint8_t> stream;
        bench::AppendDense(stream, Measures * bench::MeasureTicks, bench::DensePattern{});
        Install(stream);
        SetPart(data::StylePart::Basic, 1, Measures, 0, session->Style().style.StyleLength - 1);
        Analyse();
        for (int ch = 0; ch < 16; ++ch) {
            session->Controllers().SetValue(ch, midi::ControllerTable::ProgramIndex, ch % 2 ? 48 : 0);
        }
        state.options.CompLimit = true;
        clock->SelectQuantize(0);  // a chord may change on every beat
        clock->StartVirtual(120);
        engine->Sections().PlayPart(data::Index(data::StylePart::Basic));
    }

    // A new chord waits for every beat.
    void Tick() {
        engine::EngineState& e = state.engine;
        if (state.clock.TickInBeat == 12) {
            const auto root = static_cast<std::int16_t>(48 + (chord_ * 5) % 12);
            e.PendingRoot = root;
            e.PendingType = static_cast<std::int16_t>(1 + chord_ % 17);
            e.ChordNotes = {root, static_cast<std::int16_t>(root + 4), static_cast<std::int16_t>(root + 7), 0};
            ++chord_;
        }
        engine->TickProcedure();
    }

    int chord_ = 0;
};

void OneTickOfADenseStyle(benchmark::State& state) {
    Rig rig;
    std::vector<double> micros;
    micros.reserve(1 << 22);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        rig.Tick();
        const auto end = std::chrono::steady_clock::now();
        if (micros.size() < micros.capacity()) micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) { return micros.empty() ? 0.0 : micros[static_cast<std::size_t>(q * (micros.size() - 1))]; };
    state.counters["p50_us"] = at(0.50);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = at(1.0);
    state.counters["msgs_per_tick"] = static_cast<double>(rig.out.Count()) / static_cast<double>(state.iterations());
}
BENCHMARK(OneTickOfADenseStyle);

void VirtualClockThroughput(benchmark::State& state) {
    Rig rig;
    constexpr std::int64_t Batch = 24 * 16;
    for (auto _ : state) {
        for (std::int64_t i = 0; i < Batch; ++i) rig.Tick();
    }
    state.SetItemsProcessed(state.iterations() * Batch);
    state.counters["ticks_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations() * Batch), benchmark::Counter::kIsRate);
}
BENCHMARK(VirtualClockThroughput);

// The same without chord changes or messages: what the clock itself costs.
void VirtualClockOnASilentStyle(benchmark::State& state) {
    Rig rig;
    rig.state.engine.SoloFilter = 100;
    constexpr std::int64_t Batch = 24 * 16;
    for (auto _ : state) rig.clock->RunVirtualTicks(Batch);
    state.counters["ticks_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations() * Batch), benchmark::Counter::kIsRate);
}
BENCHMARK(VirtualClockOnASilentStyle);

}  // namespace
