// The transport's heaviest moments inside a tick: the tick that switches a section while
// 16 channels sound (release, part set-up, first events of the new part), and the stop that
// silences every note of every channel (2064 messages).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "DenseStyle.h"
#include "engine/Transport.h"

namespace {

using namespace chordella;

// Basic and Fill In Basic, one measure each, in which every channel holds a note across
// each beat and starts the next; Basic playing.
struct Rig : bench::DenseRig {
    Rig() {
        const bench::DensePattern held{24, 23, 36, 2, 4, 90, 0, false};
        std::vector<std::uint8_t> stream;
        bench::AppendDense(stream, bench::MeasureTicks, held);
        const auto fillStart = static_cast<std::int32_t>(stream.size());
        bench::DensePattern fill = held;
        fill.NoteBase = 40;
        bench::AppendDense(stream, bench::MeasureTicks, fill);
        engine->SetTransport(transport);
        Install(stream);
        SetPart(data::StylePart::Basic, 1, 1, 0, fillStart);
        SetPart(data::StylePart::FillInBasic, 2, 2, fillStart, session->Style().style.StyleLength - 1);
        Analyse();
        clock->SelectQuantize(0);
        clock->StartVirtual(120);
        transport->StartStyle();
        clock->RunVirtualTicks(12);
    }

    engine::Transport* transport = &arranger->Transport();
};

// A section switch at the start of a beat: the switch and that beat's first tick.
void SectionSwitchTick(benchmark::State& state) {
    Rig rig;
    engine::ClockState& clock = rig.state.clock;
    int part = 4;
    for (auto _ : state) {
        state.PauseTiming();
        while (clock.TickInBeat != clock.TicksPerBeat) rig.clock->RunVirtualTicks(1);
        rig.session->Style().sections.SectionRequest = part;
        part = part == 4 ? 1 : 4;
        state.ResumeTiming();
        rig.clock->RunVirtualTicks(1);
    }
}
BENCHMARK(SectionSwitchTick);

// Stop with every channel sounding.
void StopWhilePlaying(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        state.PauseTiming();
        rig.transport->StartStyle();
        rig.clock->RunVirtualTicks(12);
        const std::int64_t before = rig.out.Count();
        state.ResumeTiming();
        rig.transport->Stop();
        state.PauseTiming();
        state.counters["msgs_per_stop"] = static_cast<double>(rig.out.Count() - before);
        state.ResumeTiming();
    }
}
BENCHMARK(StopWhilePlaying);

}  // namespace
