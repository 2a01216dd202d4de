#pragma once
// The intro start modes: what plays while chord-memory playback is in the lead-in measures
// before LoopFromPos ("Style, Intro && Ending": Mute None, Mute All, Drums, Drums L.M.,
// Metronome), and the return to the "Solo" selector when the song proper begins.

namespace chordella::core { class Session; }

namespace chordella::engine {

enum class IntroStartMode : int { MuteNone = 0, MuteAll = 1, Drums = 2, DrumsLeadInMeasures = 3, Metronome = 4 };

// Control thread, tick (a beat of the lead-in). Sets SoloFilter for the chosen mode at the
// chord-memory position `position`; in the metronome mode the beat is clicked (level 80)
// unless "Metronome" clicks it anyway.
void ApplyIntroStartMode(core::Session& session, int position);

// Control thread, tick. The position reached LoopFromPos: SoloFilter follows the "Solo" selector.
void RestoreSoloSelector(core::Session& session);

}  // namespace chordella::engine
