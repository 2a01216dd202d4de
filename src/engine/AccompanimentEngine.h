#pragma once
// The accompaniment engine: the tick procedure that orders everything that happens in a
// tick, the live chord timing that decides when a played chord takes effect, and chord
// application. It is the session's EngineLink: every chord source submits its chords here.
//
// The tick path is marked noexcept: the tick procedure, chord application, the style player,
// chord changes, the chord sounds, the channel tables' transposition and the output helpers.
// Those functions allocate, lock, log and throw nothing; a seam they call (TickLink, the
// outputs) must keep to the same rule.
//
// Driving it (control thread):
//   // `app` is the program's state aggregate (app::AppState): whoever assembles the modules hands each its part.
//   engine::AccompanimentEngine engine(session, app.engine, app.clock, app.options);
//   session.SetEngineLink(&engine);                // the chord side's calls reach it
//   engine::Clock clock(session, engine, app.clock, app.options);  // and its style-load hooks
//   session.SetAccompanimentOutput(&port);
//   data::StyleStore(session).Load("Pop.vxs");
//   clock.StartVirtual(120);                       // or clock.ToggleClock() for the timer
//   engine.Sections().PlayPart(1);                 // or the transport's SwitchSection
//   session.Engine().SubmitChord({48, 1}, {48, 52, 55, 0});    // what SetChord hands over
//   clock.RunVirtualTicks(96);

#include <array>
#include <cstdint>

#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "core/Links.h"
#include "core/Options.h"
#include "engine/LoopingSections.h"
#include "engine/StylePlayer.h"
#include "engine/TickLink.h"

namespace chordella::core { class Session; }

namespace chordella::engine {

class AccompanimentEngine final : public core::EngineLink {
public:
    // Control thread. Whoever builds it makes it the session's engine link. The engine owns
    // its note and channel state; the tick procedure also advances the clock's counters.
    AccompanimentEngine(core::Session& session, EngineState& engineState, ClockState& clockState,
                        const core::Options& options);
    // Control thread. Hands the session back its empty engine link.
    ~AccompanimentEngine() override;
    AccompanimentEngine(const AccompanimentEngine&) = delete;
    AccompanimentEngine& operator=(const AccompanimentEngine&) = delete;

    // Control thread, outside a tick. The transport and sections that take over the seams;
    // nullptr puts back the looping default.
    void SetTransport(TickLink* hooks) { hooks_ = hooks ? hooks : &sections_; }
    TickLink& Transport() { return *hooks_; }
    // The default section logic (plays one part and loops it).
    LoopingSections& Sections() { return sections_; }
    // The engine's note and channel state (for the engine's own modules: the transport,
    // the sections, the players).
    EngineState& State() { return engineState_; }

    // Control thread (timer hand-off, slave clock byte, virtual clock): one tick.
    void TickProcedure() noexcept;

    // Control thread, from every chord source (through SetChord). The chord and its notes
    // become the pending chord; while the clock is off the pending control key and chord are
    // applied at once.
    void SubmitChord(core::ChordPair chord, const std::array<std::int16_t, 4>& notes) noexcept override;
    // Control thread (section keys, chord-memory commands). As SubmitChord, with a control
    // key and no chord notes.
    void SubmitControlKey(std::int16_t key, std::int16_t value) noexcept override;
    // Control thread. The pending chord ({0, 0} once applied).
    core::ChordPair PendingChord() const noexcept override;
    void DropPendingChord() noexcept override;
    // Control thread (input callbacks, chord entry). The player's keys and the chord sound.
    void MelodyKeyHeld(int key, int sentAs) noexcept override;
    void MelodyKeysReleased() noexcept override;
    void PlayerPlays(int channel) noexcept override;
    void SetTriggerVelocity(int velocity) noexcept override;
    void StopChordSound() noexcept override;
    // Control thread. A chord played while the style is idle in style mode starts it
    // (through the transport, which sends the MIDI Start in master mode).
    void StartStyleForChord() override;

    // Control thread. The pending chord (PendingRoot, PendingType, ChordNotes) becomes
    // current: the style follows it, the chord code, pad and chord sound follow.
    void ApplyChord() noexcept;

private:
    // While the clock is off, what is pending is applied now (unless step recording takes
    // the chord).
    void ApplyWhileStopped() noexcept;
    void LiveChordTiming() noexcept;
    void ApplyToStyle(std::int16_t root, std::int16_t type) noexcept;

    core::Session& session_;
    EngineState& engineState_;
    ClockState& clockState_;
    const core::Options& options_;
    LoopingSections sections_;
    TickLink* hooks_;
    StylePlayer player_;
};

}  // namespace chordella::engine
