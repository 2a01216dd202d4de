#pragma once
// What happens to sounding accompaniment notes when the chord or the section changes:
// they are released, or, on channels whose program sustains, re-voiced to the new chord.
// Also the channel resets of stop, panic and the pad.

#include "core/ChannelReset.h"

namespace chordella::core { class Session; }
namespace chordella::midi { class MidiOut; }

namespace chordella::engine {

// A channel number of 16 or more in ChordChange means every channel.
constexpr int AllChannels = 16;

// Control thread (inside a tick or a user action). Releases or re-voices the notes sounding
// on `channel` (or all) for the chord (root, type). With releaseOnly the notes are only
// released and the note maps are cleared; sectionSwitch says the playing part is being left.
// The same chord as the last change, without releaseOnly, does nothing.
void ChordChange(core::Session& session, int channel, int root, int type, bool releaseOnly, bool sectionSwitch);

// The channel reset lives in core, where the section keys reach it too.
using core::ResetChannel;

// Control thread. ResetChannel on all 16 channels, then clears the note maps.
void ResetAllChannels(core::Session& session, midi::MidiOut* out);

}  // namespace chordella::engine
