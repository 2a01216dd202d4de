#include "engine/TapTempo.h"

#include <algorithm>

#include "core/Session.h"
#include "engine/Clock.h"
#include "engine/ClockTables.h"
#include "engine/Metronome.h"
#include "engine/Transport.h"

namespace chordella::engine {

namespace {
constexpr int StepMillis = 50;
constexpr int MaxStepsKept = 255;  // an interval is kept as a byte
}  // namespace

TapTempo::TapTempo(core::Session& session, Clock& clock, Transport& transport)
    : session_(session), clock_(clock), transport_(transport) {}

void TapTempo::Open() {
    taps_ = 0;
    steps_ = 0;
    counting_ = false;
}

void TapTempo::TimerStep() {
    if (counting_ && steps_ < MaxStepsKept) ++steps_;
}

int TapTempo::TapsNeeded() const {
    return std::clamp<int>(session_.App().clock.MetronomeGroup, 2, MaxTaps);
}

std::string TapTempo::Caption() const {
    return "Tap " + std::to_string(session_.App().clock.MetronomeGroup) + " times";
}

int TapTempo::TempoFromSteps(const std::uint8_t* intervals, int count) {
    if (count <= 0) return 0;
    int sum = 0;
    for (int i = 0; i < count; ++i) sum += intervals[i];
    const int average = sum / count;
    if (average == 0) return 0;
    return 60000 / average / StepMillis;
}

TapTempo::TapResult TapTempo::Tap() {
    MetronomeClick(session_, LiveClickLevel);
    if (taps_ > 0) intervals_[static_cast<std::size_t>(taps_ - 1)] = static_cast<std::uint8_t>(steps_);
    ++taps_;
    steps_ = 0;
    counting_ = true;
    if (taps_ < TapsNeeded()) return TapResult::Counting;

    const int tempo = TempoFromSteps(intervals_.data(), taps_ - 1);
    Open();
    // Taps faster than the timer can tell apart give no tempo: the series starts again.
    if (tempo == 0) return TapResult::Counting;
    tempo_ = tempo;
    clock_.TempoFieldChanged(tempo);
    session_.Display().ShowTempo(tempo);
    transport_.StartStyle();
    return TapResult::Done;
}

void TapTempo::SelectGridHalf(bool eighths) {
    const int index = session_.App().clock.QuantizeIndex;
    const bool isEighth = index >= QuantizeEighthOffset;
    if (eighths && !isEighth) clock_.SelectQuantize(index + QuantizeEighthOffset);
    if (!eighths && isEighth) clock_.SelectQuantize(index - QuantizeEighthOffset);
}

}  // namespace chordella::engine
