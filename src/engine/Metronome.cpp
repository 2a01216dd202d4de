#include "engine/Metronome.h"

#include "core/Session.h"
#include "engine/Outputs.h"

namespace chordella::engine {

namespace {
constexpr int ClickStatus = 0x99;  // note-on, channel 10
constexpr int AccentVelocity = 60;
constexpr int QuietAccentVelocity = 25;
constexpr int CountInTicksPerBeat = 24;
constexpr int HalfBeatTick = 13;
}  // namespace

void MetronomeClick(core::Session& session, int level) {
    midi::MidiOut* out = session.AccompanimentOutput();
    if (!IsOpen(out)) return;
    TransportState& transport = session.App().transport;
    const ClockState& clock = session.App().clock;
    const int note = session.App().options.MetronomeNote;
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

void RestartMetronomeGroup(core::Session& session) {
    session.App().transport.MetronomeCount = static_cast<std::int16_t>(session.App().clock.MetronomeGroup + 1);
}

void ArmCountIn(core::Session& session) {
    TransportState& transport = session.App().transport;
    ClockState& clock = session.App().clock;
    transport.CountInActive = session.App().options.CountIn && !session.App().options.SlaveMode ? 1 : 0;
    if (transport.CountInActive == 0) return;
    transport.CountInBeats = static_cast<std::int16_t>(clock.MeasureUnits == 12 ? 3 : 4);
    transport.CountInCounted = 0;
    // The first counted beat begins with the next tick.
    clock.TickInBeat = CountInTicksPerBeat;
    RestartMetronomeGroup(session);
}

bool CountInTick(core::Session& session) {
    TransportState& transport = session.App().transport;
    if (transport.CountInActive == 0) return false;
    ClockState& clock = session.App().clock;
    if (clock.TickInBeat > CountInTicksPerBeat) {
        if (transport.CountInCounted >= transport.CountInBeats) {
            transport.CountInActive = 0;
            // The music's first beat is a measure's first beat: its click is the accented one.
            RestartMetronomeGroup(session);
            return false;
        }
        clock.TickInBeat = 1;
        transport.CountInCounted = static_cast<std::int16_t>(transport.CountInCounted + 1);
        MetronomeClick(session, CountInClickLevel);
    } else if (clock.TickInBeat == HalfBeatTick && transport.CountInBeats != 3 && transport.CountInCounted >= 3) {
        MetronomeClick(session, CountInClickLevel);
    }
    return true;
}

}  // namespace chordella::engine
