#pragma once
// The application state: one of the two long-lived state objects. It aggregates the
// plain field structs of the modules that own them (clock, chords, engine note maps,
// transport, chord memory, melody track, keyboard layout, options); each module's
// fields are written only by that module.

#include "app/Options.h"
#include "chords/ChordState.h"
#include "chords/EntryState.h"
#include "chords/KeyboardLayout.h"
#include "data/ArrangementState.h"
#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "data/ConfigState.h"
#include "engine/MelodyState.h"
#include "engine/SongPlayState.h"
#include "engine/TransportState.h"

namespace chordella::app {

struct AppState {
    Options options;
    chords::ChordState chords;
    // The keyboard layout, the input spinners and what the input remembers per key.
    chords::KeyboardState keyboard;
    // Chord pads, the on-screen keyboard and the computer keyboard: what is held now.
    chords::EntryState entry;
    // The song: chord memory, melody track, song text, style reference.
    data::ArrangementState arrangement;
    engine::ClockState clock;
    engine::EngineState engine;
    data::ConfigState config;  // written by the settings (app/Settings.h)
    engine::TransportState transport;
    engine::SongPlayState songPlay;  // chord-memory playback and recording
    engine::MelodyState melody;      // the melody track's running fields
};

}  // namespace chordella::app
