#pragma once
// The channel reset of stop, panic, the pad and the section keys: sustain off, sostenuto
// off, all notes off and all sound off.

namespace chordella::midi { class MidiOut; }

namespace chordella::core {

// Control thread. Sustain off, sostenuto off, all notes off and all sound off on the
// channel (0 … 15), in this order, when the output is open.
void ResetChannel(midi::MidiOut* out, int channel);

}  // namespace chordella::core
