#pragma once
// The clock's fields: the time base that every moving part of the program reads. Written
// only by the clock and the tick procedure, on the control thread.

#include <cstdint>

namespace chordella::engine {

// The chord grid kinds: quarter-note or eighth-note beats.
enum class MeterKind : std::int16_t { Quarter = 1, Eighth = 2 };

struct ClockState {
    // The timer: 0 = none runs, else the tempo it runs at (one timer at most).
    std::int32_t TimerId = 0;
    // Duration of one tick at the current tempo in whole milliseconds (2500 div bpm,
    // rounded, a half down), for whatever displays it. The timer's due times use the
    // exact microsecond period instead.
    std::int32_t TickPeriod = 0;
    // 0 = clock off, 1 = internal clock, −1 = slave (external MIDI clock).
    std::int16_t ClockState = 0;
    // The value of the tempo field (beats per minute).
    std::int32_t Tempo = 120;

    // 1 … TicksPerBeat; incremented first thing in every tick.
    std::int16_t TickInBeat = 0;
    // 1 … GridBeats: the beat within the chord-grid unit.
    std::int16_t GridBeat = 1;
    // Ticks whose work is swallowed (holds the engine back until an external start).
    std::int16_t TickDelay = 0;

    // From "Quantize".
    std::int16_t QuantizeIndex = 0;  // 0 "1/4" … 9 "6/8"
    std::int16_t GridBeats = 1;
    std::int16_t TicksPerBeat = 24;
    std::int16_t MidBeatTick = 13;
    std::int16_t EarlyChordTicks = 8;
    std::int16_t PreviewTick = 20;
    std::int16_t RecordGraceTicks = 6;
    engine::MeterKind MeterKind = engine::MeterKind::Quarter;

    // From "Metrum".
    std::int16_t MetrumIndex = 2;  // 0 "6/4" … 8 "1/8"
    std::int16_t MeasureUnits = 16;
    std::int16_t MetronomeGroup = 4;

    // Chord-preview distance in chord-memory units, set by the tempo field when
    // "Chordpreview var." is selected; read by chord-memory playback.
    std::int16_t PreviewDistance = 8;

    // Ticks run since the clock was set up (the virtual clock's time line).
    std::int64_t TickCount = 0;
};

}  // namespace chordella::engine
