#include "engine/Metronome.h"

#include "engine/Outputs.h"

namespace chordella::engine {

namespace {
constexpr int ClickStatus = 0x99;  // note-on, channel 10
constexpr int AccentVelocity = 60;
constexpr int QuietAccentVelocity = 25;
constexpr int CountInTicksPerBeat = 24;
constexpr int HalfBeatTick = 13;
}  // namespace

void MetronomeClick(midi::MidiOut* out, TransportState& transport, const ClockState& clock, const core::Options& options,
                    int level) {
    if (!IsOpen(out)) return;
    const int note = options.MetronomeNote;
    transport.MetronomeCount = static_cast<std::int16_t>(transport.MetronomeCount + 1);
    if (transport.MetronomeCount >= clock.MetronomeGroup) {
        const bool lastCountInBeats =
            transport.CountInActive != 0 && transport.CountInCounted > transport.CountInBeats - 2;
        Send(out, ClickStatus, note, lastCountInBeats ? QuietAccentVelocity : AccentVelocity);
        transport.MetronomeCount = 0;
    } else {
        Send(out, ClickStatus, note, level - 40);
    }
}

void RestartMetronomeGroup(TransportState& transport, const ClockState& clock) {
    transport.MetronomeCount = static_cast<std::int16_t>(clock.MetronomeGroup + 1);
}

void ArmCountIn(TransportState& transport, ClockState& clock, const core::Options& options) {
    transport.CountInActive = options.CountIn && !options.SlaveMode ? 1 : 0;
    if (transport.CountInActive == 0) return;
    transport.CountInBeats = static_cast<std::int16_t>(clock.MeasureUnits == 12 ? 3 : 4);
    transport.CountInCounted = 0;
    // The first counted beat begins with the next tick.
    clock.TickInBeat = CountInTicksPerBeat;
    RestartMetronomeGroup(transport, clock);
}

bool CountInTick(midi::MidiOut* out, TransportState& transport, ClockState& clock, const core::Options& options) {
    if (transport.CountInActive == 0) return false;
    if (clock.TickInBeat > CountInTicksPerBeat) {
        if (transport.CountInCounted >= transport.CountInBeats) {
            transport.CountInActive = 0;
            // The music's first beat is a measure's first beat: its click is the accented one.
            RestartMetronomeGroup(transport, clock);
            return false;
        }
        clock.TickInBeat = 1;
        transport.CountInCounted = static_cast<std::int16_t>(transport.CountInCounted + 1);
        MetronomeClick(out, transport, clock, options, CountInClickLevel);
    } else if (clock.TickInBeat == HalfBeatTick && transport.CountInBeats != 3 && transport.CountInCounted >= 3) {
        MetronomeClick(out, transport, clock, options, CountInClickLevel);
    }
    return true;
}

}  // namespace chordella::engine
