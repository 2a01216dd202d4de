#pragma once
// The application state: one of the two long-lived state objects. It aggregates the
// plain field structs of the modules that own them (clock, chords, engine note maps,
// transport, chord memory, melody track, keyboard layout, options); each module's
// fields are written only by that module.

#include "app/Options.h"
#include "data/ConfigState.h"

namespace chordella::app {

struct AppState {
    Options options;
    data::ConfigState config;  // written by the settings (app/Settings.h)
};

}  // namespace chordella::app
