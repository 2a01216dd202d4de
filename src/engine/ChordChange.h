#pragma once
// What happens to sounding accompaniment notes when the chord or the section changes:
// they are released, or, on channels whose program sustains, re-voiced to the new chord.
// Also the channel resets of stop, panic and the pad.

#include "core/ChannelReset.h"
#include "engine/EngineState.h"
#include "engine/MelodyState.h"
#include "core/Options.h"

namespace chordella::core { class Session; }
namespace chordella::midi { class MidiOut; }

namespace chordella::engine {

// A channel number of 16 or more in ChordChange means every channel.
constexpr int AllChannels = 16;

// Control thread (inside a tick or a user action). Releases or re-voices the notes sounding
// on `channel` (or all) for the chord (root, type). With releaseOnly the notes are only
// released and the note maps are cleared; sectionSwitch says the playing part is being left.
// The same chord as the last change, without releaseOnly, does nothing.
// The session gives the loaded style, the controller table and the output.
void ChordChange(core::Session& session, EngineState& engineState, const core::Options& options, int channel, int root,
                 int type, bool releaseOnly, bool sectionSwitch) noexcept;

// The channel reset lives in core, where the section keys reach it too.
using core::ResetChannel;

// Control thread. ResetChannel on all 16 channels, then clears the note maps.
void ResetAllChannels(EngineState& engineState, midi::MidiOut* out) noexcept;

// Control thread. What the stop of a playing style sends, and nothing more, so that it fits
// a slow cable or one short audio period: a note-off for every note the note maps (style and
// drums) and the melody say is sounding, on the note it was sent as; then ResetChannel (and
// the pitch-bend centre at the "smart" chord-change setting) on each channel the style uses
// or that sounded. The maps are cleared. Returns the number of messages sent.
int ReleaseWhatSounds(core::Session& session, EngineState& engineState, MelodyState& melodyState,
                      const core::Options& options, midi::MidiOut* out) noexcept;

}  // namespace chordella::engine
