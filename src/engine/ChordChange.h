#pragma once
// What happens to sounding accompaniment notes when the chord or the section changes:
// they are released, or, on channels whose program sustains, re-voiced to the new chord.
// Also the channel resets of stop, panic and the pad.

namespace chordella::app { class Session; }
namespace chordella::midi { class MidiOut; }

namespace chordella::engine {

// A channel number of 16 or more in ChordChange means every channel.
constexpr int AllChannels = 16;

// Control thread (inside a tick or a user action). Releases or re-voices the notes sounding
// on `channel` (or all) for the chord (root, type). With releaseOnly the notes are only
// released and the note maps are cleared; sectionSwitch says the playing part is being left.
// The same chord as the last change, without releaseOnly, does nothing.
void ChordChange(app::Session& session, int channel, int root, int type, bool releaseOnly, bool sectionSwitch);

// Control thread. Sustain off, sostenuto off, all notes off and all sound off on the
// channel (0 … 15), in this order, when the output is open.
void ResetChannel(midi::MidiOut* out, int channel);

// Control thread. ResetChannel on all 16 channels, then clears the note maps.
void ResetAllChannels(app::Session& session, midi::MidiOut* out);

// Control thread. What the stop of a playing style sends, and nothing more, so that it fits
// a slow cable or one short audio period: a note-off for every note the note maps (style and
// drums) and the melody say is sounding, on the note it was sent as; then ResetChannel (and
// the pitch-bend centre at the "smart" chord-change setting) on each channel the style uses
// or that sounded. The maps are cleared. Returns the number of messages sent.
int ReleaseWhatSounds(app::Session& session, midi::MidiOut* out);

}  // namespace chordella::engine
