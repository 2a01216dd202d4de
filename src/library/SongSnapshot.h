#pragma once
// The performance settings a songlist entry carries, taken from the session and put back:
// the channel mutes, the keyboard boxes, the player's channel, the octave and semitone
// transposition, the solo instrument, and the eight mixer bars: the volume bars of
// channels 1 … 8, the accompaniment's balance for the song. The bars hold while the song
// plays: the style's own volume events on those channels play at the bar's value.
//
// Control thread only.

#include <string>

#include "library/SongEntry.h"

namespace chordella::core { class Session; }

namespace chordella::library {

// An entry for the song in memory (its file and `title`) with the settings as they are now.
SongEntry CaptureSongEntry(core::Session& session, const std::string& title);

// Puts the entry's settings back. Empty or out-of-range values leave their setting as it
// is. The instrument set (columns 195 on) is only taken when `loadInstruments` is on; it
// goes to `instrumentSet`.
void ApplySongEntry(core::Session& session, const SongEntry& entry, bool loadInstruments, std::string& instrumentSet);

}  // namespace chordella::library
