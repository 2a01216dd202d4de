#pragma once
// The metronome and the count-in. A click is a note-on on channel 10 (no note-off: drum
// sounds end by themselves); every MetronomeGroup-th click is accented. The count-in plays
// three or four clicked beats before the music starts.

#include "engine/ClockState.h"
#include "core/Options.h"
#include "engine/TransportState.h"

namespace chordella::midi { class MidiOut; }

namespace chordella::engine {

// Click levels: each beat of live play, recording and tap tempo; the beats of a song's
// lead-in measures; the count-in.
inline constexpr int LiveClickLevel = 107;
inline constexpr int LeadInClickLevel = 80;
inline constexpr int CountInClickLevel = 75;

// Control thread (tick or user action). One click at `level` on the accompaniment output,
// when it is open: accented (velocity 60, 25 in the last two beats of a count-in) when the
// count reaches MetronomeGroup, else velocity level − 40.
void MetronomeClick(midi::MidiOut* out, TransportState& transport, const ClockState& clock, const core::Options& options,
                    int level);

// Control thread. The next click is accented (a new measure begins with it).
void RestartMetronomeGroup(TransportState& transport, const ClockState& clock);

// Control thread, at Play and Record: the count-in runs when "Count in" is on and the clock
// is not a slave; it starts with a click at the next tick.
void ArmCountIn(TransportState& transport, ClockState& clock, const core::Options& options);

// Control thread, tick (after TickInBeat was advanced). True while the count-in counts; the
// rest of the tick is then skipped. The tick that ends it returns false and starts the music.
bool CountInTick(midi::MidiOut* out, TransportState& transport, ClockState& clock, const core::Options& options);

}  // namespace chordella::engine
