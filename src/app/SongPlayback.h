#pragma once
// Chord-memory playback with what it plays through: chord recognition (the chords it
// sets) and the melody track. Made by MakeSongPlayback (app/RenderSession.h); the player
// makes itself the transport's peer while it lives.
//
// Control thread only.

#include "chords/ChordRecogniser.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/MelodyPlayer.h"

namespace chordella::core { class Session; }
namespace chordella::app {


struct SongPlayback {
    SongPlayback(core::Session& session, engine::AccompanimentEngine& engine, engine::Transport& transport)
        : recogniser(session), melody(session), player(session, engine, transport, melody) {}
    chords::ChordRecogniser recogniser;
    engine::MelodyPlayer melody;
    engine::ChordMemoryPlayer player;
};

}  // namespace chordella::app
