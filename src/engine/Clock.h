#pragma once
// The clock: the single time base. It runs the tick procedure once per tick from one of
// three sources: the internal timer (normal and master mode), incoming MIDI clock bytes
// (slave mode), or the virtual clock that runs ticks as fast as possible (offline
// rendering, tests). It also carries out the tempo field, the clock button and the
// "Quantize" and "Metrum" choices.

#include <cstdint>
#include <memory>

#include "core/ClockLink.h"
#include "engine/ClockState.h"
#include "core/Options.h"
#include "engine/ClockStyleLoad.h"

namespace chordella::core { class Session; }
namespace chordella::platform { class TickTimer; }

namespace chordella::engine {

class AccompanimentEngine;

class Clock final : public core::ClockLink {
public:
    // Control thread. Takes part in style loading through the session's style hooks. The
    // clock owns the timing state; it reads the mode switches (master, slave, tempo options).
    Clock(core::Session& session, AccompanimentEngine& engine, ClockState& clockState, core::Options& options);
    // Control thread. Shuts the clock down if that has not happened.
    ~Clock();
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;

    // Control thread, at start-up: creates the timer (silent until a tempo is set) and
    // applies the current "Quantize" and "Metrum" entries.
    void SetupClock();
    // Control thread, at exit: stops and removes the timer.
    void ShutdownClock();

    // Control thread. (Re)starts the internal timer at `bpm`; 0 or less silences it.
    // TickPeriod becomes the rounded millisecond period; the timer runs on the exact one.
    void SetTempo(int bpm);
    // Control thread. The tempo field changed: the timer follows only for 25 … 250 while
    // the clock runs; "Chordpreview var." sets the preview distance.
    void TempoFieldChanged(int bpm) override;
    // Control thread. The clock button: off → on (internal, or slave with "Slave Mode"),
    // on → off. Ignored while chords are recorded or played from memory.
    void ToggleClock() override;
    // Control thread: the process runs at real-time priority while playing or recording.
    void SetRealtimePriority(bool on);

    // Control thread. "Quantize" entry 0 … 9 ("1/4" … "6/8"); out-of-range does nothing.
    void SelectQuantize(int index);
    // Control thread. "Metrum" entry 0 … 8 ("6/4" … "1/8"); out-of-range does nothing.
    void SelectMetrum(int index);
    // Control thread. A loaded style or song sets the measure length (units ≥ 1): the
    // matching "Metrum" entry is selected. Values ≤ 0 change nothing.
    void SetMeasureUnitsFromFile(int measureUnits);

    // Control thread (the second input's handler). A MIDI realtime byte in slave mode:
    // 0xF8 runs one tick, 0xFA and 0xFB end a hold, 0xFC stops when nothing holds.
    void OnRealtimeByte(std::uint8_t byte) override;

    // Control thread. The virtual clock: the clock runs (internal, no timer thread) at
    // `bpm` for the virtual time line; RunVirtualTicks then runs ticks back to back. Until
    // the clock button switches it off, tempo changes (song commands, the tempo field) set
    // the virtual tempo instead of starting the timer.
    void StartVirtual(int bpm);
    void RunVirtualTicks(std::int64_t count);
    // The virtual time of the ticks run so far, in µs (tick number × exact period).
    std::int64_t VirtualMicros() const;
    // The virtual clock's present tempo (beats per minute).
    int VirtualBpm() const { return virtualBpm_; }

    // The timing state (for the engine's own modules).
    ClockState& State() { return clockState_; }

private:
    void EnsureTimer();

    core::Session& session_;
    AccompanimentEngine& engine_;
    ClockState& clockState_;
    core::Options& options_;  // the "Quantize" and "Metrum" choices are kept there
    ClockStyleLoad styleHooks_;
    std::unique_ptr<platform::TickTimer> timer_;
    int virtualBpm_ = 120;
    bool virtual_ = false;
};

}  // namespace chordella::engine
