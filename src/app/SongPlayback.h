#pragma once
// Chord-memory playback with the melody track it plays. Made by Arranger::AttachSongPlayback;
// the chord-memory player makes itself the transport's peer while it lives, and sets its chords
// through the arranger's chord recognition.
//
// Control thread only.

#include "core/Session.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/MelodyPlayer.h"

namespace chordella::app {

struct SongPlayback {
    SongPlayback(core::Session& session, engine::AccompanimentEngine& engine, engine::Transport& transport)
        : melody(session, session.App().melody, session.App().arrangement, session.App().options,
                 session.App().engine, session.App().transport, session.App().clock),
          player(session, session.App().songPlay, session.App().arrangement, session.App().options,
                 session.App().clock, session.App().engine, session.App().transport, session.App().config, engine,
                 transport, melody) {}
    engine::MelodyPlayer melody;
    engine::ChordMemoryPlayer player;
};

}  // namespace chordella::app
