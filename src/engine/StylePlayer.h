#pragma once
// The style player: reads the loaded style's event stream tick by tick, filters and shapes
// each event (solo and mute, repeated controllers, compressor/limiter, fade-out, Minus
// One), transposes notes to the current chord and sends them on the accompaniment output.

#include <cstdint>

#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "core/Options.h"

namespace chordella::core { class Session; }

namespace chordella::engine {

class TickLink;

// Control thread. The part that plays is left or starts again before this tick's events
// were read (a switch, a requested ending, the end of a pass):
// the drum note-offs among them (up to the next wait) are sent now, on a drum note that
// sounds, as the stream has them. Chord changes never release drums, so without this a
// drum note whose note-off falls on the switch tick would sound on and on.
void SendDrumNoteOffsDue(core::Session& session, EngineState& engineState) noexcept;

class StylePlayer {
public:
    StylePlayer(core::Session& session, EngineState& engineState, const ClockState& clockState,
                const core::Options& options, TickLink*& hooks)
        : session_(session), engineState_(engineState), clockState_(clockState), options_(options), hooks_(hooks) {}

    // Control thread, inside the tick. The style's work for one tick: every event up to the
    // next wait is sent. Never reads outside the stream buffers, whatever they hold.
    void PlayStyleTick() noexcept;

private:
    enum class Verdict { Send, Drop, Stop };
    struct Event {
        std::uint8_t Status;
        std::uint8_t Data1;
        std::uint8_t Data2;
    };

    enum class Read { Event, Again, Done };

    void BeatStart() noexcept;
    // One step through the stream: an event to shape, a step without one (buffer switch,
    // stray byte), or the end of this tick's reading.
    Read ReadOne(Event& event) noexcept;
    void EndOfStyle() noexcept;
    Verdict Shape(Event& event) noexcept;
    Verdict FilterControllers(Event& event) noexcept;
    Verdict ShapeVelocity(Event& event) noexcept;
    Verdict Transpose(Event& event) noexcept;
    void TrackDrum(const Event& event) noexcept;
    bool ChannelPasses(int channel) const noexcept;

    core::Session& session_;
    EngineState& engineState_;
    const ClockState& clockState_;
    const core::Options& options_;
    TickLink*& hooks_;
};

}  // namespace chordella::engine
