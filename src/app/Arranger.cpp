#include "app/Arranger.h"

#include "app/SongPlayback.h"
#include "chords/ChordRecogniser.h"
#include "core/Session.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
#include "engine/TransportArrangement.h"

namespace chordella::app {

Arranger::Arranger(core::Session& session, AppState& app)
    : session_(session),
      app_(app),
      engine_(std::make_unique<engine::AccompanimentEngine>(session, app.engine, app.clock, app.options)),
      clock_(std::make_unique<engine::Clock>(session, *engine_, app.clock, app.options)),
      transport_(std::make_unique<engine::Transport>(session, *engine_, *clock_, app.transport, app.melody, app.options,
                                                     app.config)),
      songHost_(std::make_unique<engine::TransportArrangement>(session, *transport_, *clock_, app.arrangement, app.melody,
                                                               app.options, app.engine)),
      recogniser_(std::make_unique<chords::ChordRecogniser>(session, app.chords, app.options, *engine_)),
      playback_(std::make_unique<SongPlayback>(session, app, *engine_, *transport_, *recogniser_)) {
    transport_->SetPeers(&playback_->peers);
    session_.SetEngineLink(engine_.get());
    session_.SetTransportLink(transport_.get());
    session_.SetArrangementLink(songHost_.get());
    session_.SetChordLink(recogniser_.get());
    session_.SetMelodyLink(&playback_->melody);
}

// The clock leaves its timer first, so no tick runs while the modules it reaches go; then each
// module goes and hands its session link back.
Arranger::~Arranger() {
    clock_->ShutdownClock();
    transport_->SetPeers(nullptr);
    playback_.reset();
    recogniser_.reset();
    songHost_.reset();
    transport_.reset();
    clock_.reset();
    engine_.reset();
}

}  // namespace chordella::app
