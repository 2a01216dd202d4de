#include "app/Arranger.h"

#include "app/SongPlayback.h"
#include "chords/ChordRecogniser.h"
#include "core/Session.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/Transport.h"

namespace chordella::app {

Arranger::Arranger(core::Session& session)
    : session_(session),
      engine_(std::make_unique<engine::AccompanimentEngine>(session)),
      clock_(std::make_unique<engine::Clock>(session, *engine_)),
      transport_(std::make_unique<engine::Transport>(session, *engine_, *clock_)),
      recogniser_(std::make_unique<chords::ChordRecogniser>(session)) {}

Arranger::~Arranger() {
    DetachSongPlayback();
    recogniser_.reset();
    transport_.reset();
    clock_.reset();
    engine_.reset();
}

SongPlayback& Arranger::AttachSongPlayback() {
    if (!playback_) playback_ = std::make_unique<SongPlayback>(session_, *engine_, *transport_);
    return *playback_;
}

void Arranger::DetachSongPlayback() {
    // The chord-memory player takes itself off the transport's peers as it goes.
    playback_.reset();
}

}  // namespace chordella::app
