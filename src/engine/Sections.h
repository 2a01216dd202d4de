#pragma once
// Which part of the style plays and when it changes: the switch to another part with its
// fallbacks for absent parts, the step at every beat that loops a part or moves on to the
// part that follows it, and the section a control key asks for.

#include <array>
#include <cstdint>

#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "core/Options.h"

namespace chordella::core { class Session; }

namespace chordella::engine {

// What follows each part at its end, by part index.
inline constexpr std::array<std::int16_t, 8> NextSectionTable = {1, 0, 0, 254, 255, 255, 2, 1};

class Sections {
public:
    Sections(core::Session& session, EngineState& engineState, ClockState& clockState,
             const core::Options& options)
        : session_(session), engineState_(engineState), clockState_(clockState), options_(options) {}

    // Control thread (tick or user action). Switches the style to part `section` at once:
    // sounding notes are released and the next section step starts the part from its
    // beginning (a fill from the matching beat of its pattern). An ending without "Play
    // Ending" or without an ending part becomes a fade-out of the main part. An absent part
    // falls back (Fill in Extended → Extended, To Extended → Basic); without a fallback
    // nothing changes and the part selector is greyed. False then.
    bool SwitchSection(int section);

    // Control thread, tick: the first tick of every beat of a style playing in style mode.
    // Starts a switched part, loops a finished one or moves on to what follows it.
    void SectionStep();

    // Control thread, tick. The part "Fill in Key" and "To Ext. Key" ask for while the
    // present part plays.
    int RequestForFillKey() const;
    int RequestForToExtendedKey() const;

    // Control thread (tick, or at once while the clock is off): a pending section request
    // is carried out with the fallbacks for absent parts, then cleared.
    void ApplyRequest();

    // Control thread. The part starts reading at once instead of at the next beat (style
    // start, "Play Parts"), so no tick reads the switch marker.
    void StartNow();

    // Beats in the style's measure at the present grid.
    int StyleBeatsPerMeasure() const;

    // True when part (0 … 7) is present and its range lies inside the loaded stream.
    bool Present(int part) const;

private:
    int PresentFallback(int section) const;

    core::Session& session_;
    EngineState& engineState_;
    ClockState& clockState_;
    const core::Options& options_;
};

}  // namespace chordella::engine
