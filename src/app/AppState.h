#pragma once
// The application state: one of the two long-lived state objects. It aggregates the
// plain field structs of the modules that own them (clock, chords, engine note maps,
// transport, chord memory, melody track, keyboard layout, options); each module's
// fields are written only by that module.

#include "app/Options.h"
#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "engine/TransportState.h"

namespace chordella::app {

struct AppState {
    Options options;
    engine::ClockState clock;
    engine::EngineState engine;
    engine::TransportState transport;
};

}  // namespace chordella::app
