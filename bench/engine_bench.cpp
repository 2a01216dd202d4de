// The cost of the tick procedure on a dense style: 16 channels playing sixteenth notes
// with controllers on every beat, half of them on sustained programs that are re-voiced,
// and a new chord on every beat. Reports p50 and p99 of single ticks and the throughput
// of the virtual clock (ticks per second) used for offline rendering.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/Session.h"
#include "data/StyleAnalysis.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "platform/ScriptedPrompter.h"

namespace {

using namespace chordella;

class CountingOutput final : public midi::MidiOut {
public:
    bool IsOpen() const override { return true; }
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        sum_ += status + data1 + data2;
        ++count_;
    }
    void PutShortMsg(std::uint32_t packed) override { sum_ += packed; }
    std::int64_t Count() const { return count_; }

private:
    std::uint64_t sum_ = 0;
    std::int64_t count_ = 0;
};

constexpr int MeasureTicks = 96;
constexpr int Measures = 4;

// Four measures: every channel plays a sixteenth note every 6 ticks (off after 3), and
// sends volume and expression on each beat.
std::vector<std::uint8_t> DenseStream() {
    std::vector<std::uint8_t> s;
    for (int tick = 0; tick < Measures * MeasureTicks; ++tick) {
        for (int ch = 0; ch < 16; ++ch) {
            const auto status = static_cast<std::uint8_t>(0x90 | ch);
            const auto note = static_cast<std::uint8_t>(36 + ch * 3 + (tick / 6) % 12);
            if (tick % 6 == 0) s.insert(s.end(), {status, note, static_cast<std::uint8_t>(60 + ch)});
            if (tick % 6 == 3) {
                const auto started = static_cast<std::uint8_t>(36 + ch * 3 + (tick / 6) % 12);
                s.insert(s.end(), {status, started, 0});
            }
            if (tick % 24 == 0) {
                const auto cc = static_cast<std::uint8_t>(0xB0 | ch);
                s.insert(s.end(), {cc, 7, static_cast<std::uint8_t>(90 + tick % 7)});
                s.insert(s.end(), {cc, 11, 100});
            }
        }
        s.push_back(0xF8);
    }
    s.push_back(0x00);
    return s;
}

struct Rig {
    Rig() {
        app::SessionParts parts;
        parts.prompter = std::make_unique<platform::ScriptedPrompter>();
        parts.paths = platform::Paths::InFolder("/tmp");
        session = std::make_unique<app::Session>(std::move(parts));
        engine = std::make_unique<engine::AccompanimentEngine>(*session);
        clock = std::make_unique<engine::Clock>(*session, *engine);
        session->SetAccompanimentOutput(&out);

        data::StyleState& style = session->Style().style;
        if (!style.Stream.Allocate()) std::abort();
        const auto stream = DenseStream();
        std::copy(stream.begin(), stream.end(), style.Stream.First().begin());
        style.StyleLength = static_cast<std::int32_t>(stream.size());
        data::PartRecord& basic = style.Parts[data::Index(data::StylePart::Basic)];
        basic.StartMeasure = 1;
        basic.EndMeasure = Measures;
        basic.RangeStart = 0;
        basic.RangeEnd = style.StyleLength - 1;
        data::AnalyseChannels(style, 0, data::PartCount - 1, false);
        for (int ch = 0; ch < 16; ++ch) {
            session->Controllers().SetValue(ch, midi::ControllerTable::ProgramIndex, ch % 2 ? 48 : 0);
        }
        session->App().options.CompLimit = true;
        clock->SelectQuantize(0);  // a chord may change on every beat
        clock->StartVirtual(120);
        engine->Sections().PlayPart(data::Index(data::StylePart::Basic));
    }

    // A new chord waits for every beat.
    void Tick() {
        engine::EngineState& e = session->App().engine;
        if (session->App().clock.TickInBeat == 12) {
            const auto root = static_cast<std::int16_t>(48 + (chord_ * 5) % 12);
            session->App().chords.PendingRoot = root;
            session->App().chords.PendingType = static_cast<std::int16_t>(1 + chord_ % 17);
            e.ChordNotes = {root, static_cast<std::int16_t>(root + 4), static_cast<std::int16_t>(root + 7), 0};
            ++chord_;
        }
        engine->TickProcedure();
    }

    std::unique_ptr<app::Session> session;
    std::unique_ptr<engine::AccompanimentEngine> engine;
    std::unique_ptr<engine::Clock> clock;
    CountingOutput out;
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
    rig.session->App().engine.SoloFilter = 100;
    constexpr std::int64_t Batch = 24 * 16;
    for (auto _ : state) rig.clock->RunVirtualTicks(Batch);
    state.counters["ticks_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations() * Batch), benchmark::Counter::kIsRate);
}
BENCHMARK(VirtualClockOnASilentStyle);

}  // namespace
