#pragma once
// Chord-memory playback with the melody track it plays. Made by Arranger::AttachSongPlayback;
// the chord-memory player makes itself the transport's peer while it lives, and sets its chords
// through the arranger's chord recognition.
//
// Control thread only.

#include "app/AppState.h"
#include "core/Session.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/MelodyPlayer.h"

namespace chordella::app {

struct SongPlayback {
    SongPlayback(core::Session& session, AppState& app, engine::AccompanimentEngine& engine,
                 engine::Transport& transport)
        : melody(session, app.melody, app.arrangement, app.options, app.engine, app.transport, app.clock),
          player(session, app.songPlay, app.arrangement, app.options, app.clock, app.engine, app.transport,
                 app.config, engine, transport, melody) {}
    engine::MelodyPlayer melody;
    engine::ChordMemoryPlayer player;
};

}  // namespace chordella::app
