#pragma once
// What the engine and transport benchmarks share: an output that only counts, a stream in
// which all 16 channels play at once, and a session with the engine and the virtual clock
// into whose first buffer such a stream is installed.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/AppState.h"
#include "app/Arranger.h"
#include "core/Session.h"
#include "data/StyleAnalysis.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "platform/RecordingPrompter.h"

namespace chordella::bench {

constexpr int MeasureTicks = 96;

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

// How every channel plays: a note every `Step` ticks, ended `Length` ticks later, on
// NoteBase + channel × Spread + (step number mod Cycle); with Controllers, volume and
// expression on every beat.
struct DensePattern {
    int Step = 6;
    int Length = 3;
    int NoteBase = 36;
    int Spread = 3;
    int Cycle = 12;
    int Velocity = 60;           // plus VelocityPerChannel × channel
    int VelocityPerChannel = 1;
    bool Controllers = true;
};

// Appends `ticks` ticks of the pattern, each ended by a one-tick wait.
inline void AppendDense(std::vector<std::uint8_t>& s, int ticks, const DensePattern& p) {
    for (int tick = 0; tick < ticks; ++tick) {
        for (int ch = 0; ch < 16; ++ch) {
            const auto status = static_cast<std::uint8_t>(0x90 | ch);
            const auto note = static_cast<std::uint8_t>(p.NoteBase + ch * p.Spread + (tick / p.Step) % p.Cycle);
            if (tick % p.Step == 0) s.insert(s.end(), {status, note, static_cast<std::uint8_t>(p.Velocity + p.VelocityPerChannel * ch)});
            if (tick % p.Step == p.Length) s.insert(s.end(), {status, note, 0});
            if (p.Controllers && tick % 24 == 0) {
                const auto cc = static_cast<std::uint8_t>(0xB0 | ch);
                s.insert(s.end(), {cc, 7, static_cast<std::uint8_t>(90 + tick % 7)});
                s.insert(s.end(), {cc, 11, 100});
            }
        }
        s.push_back(0xF8);
    }
}

// A session with the modules the arranger builds, sending to a counting output. The engine
// loops its parts by its own section logic; a benchmark of the transport attaches it again.
struct DenseRig {
    DenseRig() {
        core::SessionParts parts;
        parts.prompter = std::make_unique<platform::RecordingPrompter>();
        parts.paths = platform::Paths::InFolder("/tmp");
        session = std::make_unique<core::Session>(std::move(parts));
        arranger = std::make_unique<app::Arranger>(*session, state);
        engine = &arranger->Engine();
        clock = &arranger->Clock();
        engine->SetTransport(nullptr);
        session->SetAccompanimentOutput(&out);
        if (!session->Style().style.Stream.Allocate()) std::abort();
    }

    // Puts `stream` (ended here by an end mark) into the first buffer.
    void Install(std::vector<std::uint8_t> stream) {
        stream.push_back(0x00);
        data::StyleState& style = session->Style().style;
        std::copy(stream.begin(), stream.end(), style.Stream.First().begin());
        style.StyleLength = static_cast<std::int32_t>(stream.size());
    }
    void SetPart(data::StylePart part, int startMeasure, int endMeasure, std::int32_t start, std::int32_t end) {
        data::PartRecord& record = session->Style().style.Parts[static_cast<std::size_t>(data::Index(part))];
        record.StartMeasure = static_cast<std::int16_t>(startMeasure);
        record.EndMeasure = static_cast<std::int16_t>(endMeasure);
        record.RangeStart = start;
        record.RangeEnd = end;
    }
    void Analyse() { data::AnalyseChannels(session->Style().style, 0, data::PartCount - 1, false); }

    std::unique_ptr<core::Session> session;
    app::AppState state;
    std::unique_ptr<app::Arranger> arranger;
    engine::AccompanimentEngine* engine = nullptr;
    engine::Clock* clock = nullptr;
    CountingOutput out;
};

}  // namespace chordella::bench
