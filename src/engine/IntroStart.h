#pragma once
// The intro start modes: what plays while chord-memory playback is in the lead-in measures
// before LoopFromPos ("Style, Intro && Ending": Mute None, Mute All, Drums, Drums L.M.,
// Metronome), and the return to the "Solo" selector when the song proper begins.

#include "engine/EngineState.h"
#include "core/Options.h"

namespace chordella::engine {

class TickLink;

enum class IntroStartMode : int { MuteNone = 0, MuteAll = 1, Drums = 2, DrumsLeadInMeasures = 3, Metronome = 4 };

// Control thread, tick (a beat of the lead-in). Sets SoloFilter for the chosen mode at the
// chord-memory position `position`; in the metronome mode the beat is clicked (level 80)
// unless "Metronome" clicks it anyway.
// `transport` clicks the beat.
void ApplyIntroStartMode(EngineState& engineState, const core::Options& options, TickLink& transport, int position);

// Control thread, tick. The position reached LoopFromPos: SoloFilter follows the "Solo" selector.
void RestoreSoloSelector(EngineState& engineState, const core::Options& options);

}  // namespace chordella::engine
