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
constexpr int LowestTempo = 25;
constexpr int HighestTempo = 250;
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
    return std::clamp<int>(clock_.State().MetronomeGroup, 2, MaxTaps);
}

std::string TapTempo::Caption() const {
    return "Tap " + std::to_string(clock_.State().MetronomeGroup) + " times";
}

int TapTempo::TempoFromSteps(const std::uint8_t* intervals, int count) {
    if (count <= 0) return 0;
    int sum = 0;
    for (int i = 0; i < count; ++i) sum += intervals[i];
    const int average = sum / count;
    if (average == 0) return 0;
    // The tempo field's range: very slow or fast taps give its nearest end.
    return std::clamp(60000 / average / StepMillis, LowestTempo, HighestTempo);
}

TapTempo::TapResult TapTempo::Tap() {
    transport_.MetronomeClick(LiveClickLevel);
    // A tap after the longest interval a step count can hold begins a new series.
    if (taps_ > 0 && steps_ >= MaxStepsKept) taps_ = 0;
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
    const int index = clock_.State().QuantizeIndex;
    const bool isEighth = index >= QuantizeEighthOffset;
    if (eighths && !isEighth) clock_.SelectQuantize(index + QuantizeEighthOffset);
    if (!eighths && isEighth) clock_.SelectQuantize(index - QuantizeEighthOffset);
}

}  // namespace chordella::engine
