// The transport's heaviest moments inside a tick: the tick that switches a section while
// 16 channels sound (release, part set-up, first events of the new part), and the stop that
// silences every note of every channel (2064 messages).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/Session.h"
#include "data/StyleAnalysis.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
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

// One measure in which every channel holds a note across each beat and starts the next.
void AppendMeasure(std::vector<std::uint8_t>& s, int noteBase) {
    for (int tick = 0; tick < MeasureTicks; ++tick) {
        for (int ch = 0; ch < 16; ++ch) {
            const auto status = static_cast<std::uint8_t>(0x90 | ch);
            const auto note = static_cast<std::uint8_t>(noteBase + ch * 2 + (tick / 24) % 4);
            if (tick % 24 == 0) s.insert(s.end(), {status, note, 90});
            if (tick % 24 == 23) s.insert(s.end(), {status, note, 0});
        }
        s.push_back(0xF8);
    }
}

struct Rig {
    Rig() {
        app::SessionParts parts;
        parts.prompter = std::make_unique<platform::ScriptedPrompter>();
        parts.paths = platform::Paths::InFolder("/tmp");
        session = std::make_unique<app::Session>(std::move(parts));
        engine = std::make_unique<engine::AccompanimentEngine>(*session);
        clock = std::make_unique<engine::Clock>(*session, *engine);
        transport = std::make_unique<engine::Transport>(*session, *engine, *clock);
        session->SetAccompanimentOutput(&out);

        data::StyleState& style = session->Style().style;
        if (!style.Stream.Allocate()) std::abort();
        std::vector<std::uint8_t> stream;
        AppendMeasure(stream, 36);
        const auto fillStart = static_cast<std::int32_t>(stream.size());
        AppendMeasure(stream, 40);
        stream.push_back(0x00);
        std::copy(stream.begin(), stream.end(), style.Stream.First().begin());
        style.StyleLength = static_cast<std::int32_t>(stream.size());
        SetPart(data::StylePart::Basic, 1, 0, fillStart);
        SetPart(data::StylePart::FillInBasic, 2, fillStart, style.StyleLength - 1);
        data::AnalyseChannels(style, 0, data::PartCount - 1, false);
        clock->SelectQuantize(0);
        clock->StartVirtual(120);
        transport->StartStyle();
        clock->RunVirtualTicks(12);
    }

    void SetPart(data::StylePart part, int measure, std::int32_t start, std::int32_t end) {
        data::PartRecord& record = session->Style().style.Parts[static_cast<std::size_t>(data::Index(part))];
        record.StartMeasure = static_cast<std::int16_t>(measure);
        record.EndMeasure = static_cast<std::int16_t>(measure);
        record.RangeStart = start;
        record.RangeEnd = end;
    }

    std::unique_ptr<app::Session> session;
    std::unique_ptr<engine::AccompanimentEngine> engine;
    std::unique_ptr<engine::Clock> clock;
    std::unique_ptr<engine::Transport> transport;
    CountingOutput out;
};

// A section switch at the start of a beat: the switch and that beat's first tick.
void SectionSwitchTick(benchmark::State& state) {
    Rig rig;
    engine::ClockState& clock = rig.session->App().clock;
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
