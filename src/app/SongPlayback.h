#pragma once
// Chord-memory playback with the melody track it plays. Made by Arranger::AttachSongPlayback;
// the chord-memory player makes itself the transport's peer while it lives, and sets its chords
// through the arranger's chord recognition.
//
// Control thread only.

#include "engine/ChordMemoryPlayer.h"
#include "engine/MelodyPlayer.h"

namespace chordella::core { class Session; }
namespace chordella::app {

struct SongPlayback {
    SongPlayback(core::Session& session, engine::AccompanimentEngine& engine, engine::Transport& transport)
        : melody(session), player(session, engine, transport, melody) {}
    engine::MelodyPlayer melody;
    engine::ChordMemoryPlayer player;
};

}  // namespace chordella::app
