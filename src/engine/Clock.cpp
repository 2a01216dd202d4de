#include "engine/Clock.h"

#include "core/Session.h"
#include "engine/AccompanimentEngine.h"
#include "engine/ClockTables.h"
#include "platform/Priority.h"
#include "platform/TickTimer.h"

namespace chordella::engine {

namespace {
constexpr int LowestFieldTempo = 25;
constexpr int HighestFieldTempo = 250;
}  // namespace

Clock::Clock(core::Session& session, AccompanimentEngine& engine, ClockState& clockState, core::Options& options)
    : session_(session), engine_(engine), clockState_(clockState), options_(options), styleHooks_(*this, engine, session, options) {
    session_.StyleLoadLink().Add(&styleHooks_);
}

Clock::~Clock() {
    ShutdownClock();
    session_.StyleLoadLink().Remove(&styleHooks_);
}

void Clock::SetupClock() {
    EnsureTimer();
    const ClockState& clock = clockState_;
    SelectQuantize(clock.QuantizeIndex);
    SelectMetrum(clock.MetrumIndex);
}

void Clock::ShutdownClock() {
    if (!timer_) return;
    SetTempo(0);
    timer_.reset();
}

void Clock::EnsureTimer() {
    if (timer_) return;
    timer_ = std::make_unique<platform::TickTimer>(session_.Loop(),
                                                   [this](const platform::TickInfo&) { engine_.TickProcedure(); });
}

void Clock::SetTempo(int bpm) {
    ClockState& clock = clockState_;
    if (clock.TimerId != 0) {
        if (timer_) timer_->Stop();
        clock.TimerId = 0;
    }
    if (bpm <= 0) return;
    clock.TickPeriod = platform::TickTimer::TickPeriodMillis(bpm);
    if (virtual_) {
        // The virtual clock takes the new tempo for its time line; no timer runs.
        virtualBpm_ = bpm;
        clock.TimerId = bpm;
        return;
    }
    EnsureTimer();
    timer_->SetTempo(bpm);
    clock.TimerId = bpm;
}

void Clock::TempoFieldChanged(int bpm) {
    ClockState& clock = clockState_;
    clock.Tempo = bpm;
    if (bpm >= LowestFieldTempo && bpm <= HighestFieldTempo && clock.ClockState >= 1) SetTempo(bpm);
    if (options_.ChordPreviewVariable) clock.PreviewDistance = static_cast<std::int16_t>(bpm >= 100 ? 12 : 8);
}

void Clock::ToggleClock() {
    if (engine_.Transport().ChordMemoryBusy()) return;
    ClockState& clock = clockState_;
    if (clock.ClockState == 0) {
        virtual_ = false;  // the button starts the real timer
        clock.ClockState = static_cast<std::int16_t>(options_.SlaveMode ? -1 : 1);
        if (clock.ClockState == 1) {
            TempoFieldChanged(clock.Tempo);
        } else {
            SetTempo(0);
        }
    } else {
        clock.ClockState = 0;
        SetTempo(0);
        virtual_ = false;
    }
}

void Clock::SetRealtimePriority(bool on) {
    // The virtual clock runs its ticks back to back: at real-time priority it would only
    // starve the rest of the machine.
    if (virtual_ && on) return;
    platform::SetCurrentThreadRealtime(on);
    if (timer_) timer_->SetRealtime(on);
    // Said once, where the player looks: ticks may come late without it.
    if (platform::TakeRealtimeDeniedNotice()) session_.Display().ShowStatus(std::string(platform::RealtimeDeniedStatus));
}

void Clock::SelectQuantize(int index) {
    if (index < 0 || index >= static_cast<int>(QuantizeTable.size())) return;
    ClockState& clock = clockState_;
    const QuantizeEntry& entry = QuantizeTable[static_cast<std::size_t>(index)];
    const engine::MeterKind before = clock.MeterKind;
    clock.QuantizeIndex = static_cast<std::int16_t>(index);
    // The options' list shows the choice, so that applying the options again keeps it.
    options_.Quantize = index;
    clock.GridBeats = entry.GridBeats;
    clock.TicksPerBeat = entry.TicksPerBeat;
    clock.MidBeatTick = entry.MidBeatTick;
    clock.EarlyChordTicks = entry.EarlyChordTicks;
    clock.PreviewTick = entry.PreviewTick;
    clock.RecordGraceTicks = entry.RecordGraceTicks;
    clock.MeterKind = entry.MeterKind;
    if (before != entry.MeterKind) engine_.Transport().MeterKindChanged(before, entry.MeterKind);
}

void Clock::SelectMetrum(int index) {
    if (index < 0 || index >= static_cast<int>(MetrumTable.size())) return;
    ClockState& clock = clockState_;
    const MetrumEntry& entry = MetrumTable[static_cast<std::size_t>(index)];
    clock.MetrumIndex = static_cast<std::int16_t>(index);
    // A style or song that sets the meter selects it in the options' list too: pressing
    // OK there later must not put back an older meter.
    options_.Metrum = index;
    clock.MeasureUnits = entry.MeasureUnits;
    clock.MetronomeGroup = entry.MetronomeGroup;
    if (index == MetrumOneEighth) SelectQuantize(QuantizeOneEighth);
}

void Clock::SetMeasureUnitsFromFile(int measureUnits) {
    if (measureUnits <= 0 || measureUnits > 12004) return;
    ClockState& clock = clockState_;
    const int index = MetrumIndexForUnits(measureUnits, clock.MeterKind);
    if (index >= 0) {
        SelectMetrum(index);
    } else {
        // A length no entry offers: the clock still counts measures of that length.
        clock.MeasureUnits = static_cast<std::int16_t>(measureUnits);
        clock.MetronomeGroup = 4;
    }
    engine_.Transport().MeasureUnitsSetFromFile();
}

void Clock::OnRealtimeByte(std::uint8_t byte) {
    ClockState& clock = clockState_;
    if (clock.ClockState != -1) return;
    switch (byte) {
        case 0xF8:
            engine_.TickProcedure();
            break;
        case 0xFA:
        case 0xFB:
            clock.TickDelay = 0;
            break;
        case 0xFC:
            if (clock.TickDelay == 0) engine_.Transport().StopTransport();
            break;
        default:
            break;
    }
}

void Clock::StartVirtual(int bpm) {
    SetTempo(0);
    ClockState& clock = clockState_;
    virtualBpm_ = bpm > 0 ? bpm : 120;
    virtual_ = true;
    clock.Tempo = virtualBpm_;
    clock.TickPeriod = platform::TickTimer::TickPeriodMillis(virtualBpm_);
    clock.ClockState = 1;
}

void Clock::RunVirtualTicks(std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) engine_.TickProcedure();
}

std::int64_t Clock::VirtualMicros() const {
    return platform::TickTimer::DueMicros(0, clockState_.TickCount, virtualBpm_);
}

}  // namespace chordella::engine
