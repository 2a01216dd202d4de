#pragma once
// Chord-memory playback with the melody track it plays, and the transport's peers made of it
// and chord recognition. The arranger makes one with the other modules and wires the peers
// into the transport; the player sets its chords through the arranger's chord recognition.
//
// Control thread only.

#include "app/AppState.h"
#include "app/TransportPeers.h"
#include "core/Session.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/MelodyPlayer.h"

namespace chordella::app {

struct SongPlayback {
    SongPlayback(core::Session& session, AppState& app, engine::AccompanimentEngine& engine,
                 engine::Transport& transport, chords::ChordRecogniser& recogniser)
        : melody(session, app.melody, app.arrangement, app.options, app.engine, app.transport, app.clock),
          player(session, app.songPlay, app.arrangement, app.options, app.clock, app.engine, app.transport,
                 app.config, engine, transport, melody, recogniser),
          peers(recogniser, player) {}
    engine::MelodyPlayer melody;
    engine::ChordMemoryPlayer player;
    TransportPeers peers;
};

}  // namespace chordella::app
