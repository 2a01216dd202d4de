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

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::chords { struct KeyboardState; }
namespace chordella::data { struct ArrangementState; }
namespace chordella::engine {
struct EngineState;
struct MelodyState;
struct SongPlayState;
struct TransportState;
}  // namespace chordella::engine

namespace chordella::library {

// The state the songlist works on. The library owns none of it: an entry records the player's
// switches, the voice settings and the capo, and applying it sets them as the window's
// controls do; the song player opens songs into the arrangement, sets the session repeats and
// the "Loop" box, and reads whether anything plays.
struct SongState {
    core::Options& options;
    data::ArrangementState& arrangement;
    engine::EngineState& engine;
    chords::KeyboardState& keyboard;
    engine::MelodyState& melody;
    engine::SongPlayState& songPlay;
    const engine::TransportState& transport;
};

// An entry for the song in memory (its file and `title`) with the settings as they are now.
SongEntry CaptureSongEntry(core::Session& session, const SongState& state, const std::string& title);

// Puts the entry's settings back. Empty or out-of-range values leave their setting as it
// is. The instrument set (columns 195 on) is only taken when `loadInstruments` is on; it
// goes to `instrumentSet`.
void ApplySongEntry(core::Session& session, const SongState& state, const SongEntry& entry, bool loadInstruments,
                    std::string& instrumentSet);

}  // namespace chordella::library
