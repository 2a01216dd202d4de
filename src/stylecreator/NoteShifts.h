#pragma once
// "Oct. up", "Oct. down", "Tone up", "Tone down" and the channel move, over a range of the
// creator's material. A note-off always goes where its note-on went, also when it lies past
// the range's end, so no shift or move leaves a note sounding.

#include <cstdint>

#include "data/CreatorWork.h"
#include "data/StyleModel.h"
#include "stylecreator/Conversion.h"

namespace chordella::stylecreator {

// Chord-memory units: the beats from Start up to, not including, Stop.
struct ShiftRange {
    int StartPosition = data::FirstPosition;
    int StopPosition = data::FirstPosition;
};

// Adds `semitones` to every note key in the range on the channels the filter passes, a key
// only while the result stays below 127 (up) or above 0 (down). Returns the notes shifted.
int ShiftNoteKeys(data::CreatorWork& work, const ShiftRange& range, const ChannelFilter& filter, int semitones);

// Moves every message of channel `from` inside the range (and the note-offs of its notes) to
// channel `to` (both 0-based). Returns the messages moved.
int MoveChannelMessages(data::CreatorWork& work, const ShiftRange& range, int from, int to);

// The style header's side of a channel move: when `to` was unused, the mixer's set-up entries
// of `from` are copied to it and it is marked used; when the whole material moved, `from` is
// no longer used.
void MoveChannelSetup(data::StyleHeader& header, int from, int to, bool wholeMaterial);

}  // namespace chordella::stylecreator
