#pragma once
// The application state: one of the two long-lived state objects. It aggregates the
// plain field structs of the modules that own them (clock, chords, engine note maps,
// transport, chord memory, melody track, keyboard layout, options); each module's
// fields are written only by that module.

#include "core/Options.h"
#include "core/ChordState.h"
#include "core/EntryState.h"
#include "core/KeyboardState.h"
#include "data/ArrangementState.h"
#include "core/ClockState.h"
#include "core/EngineState.h"
#include "data/ConfigState.h"
#include "core/MelodyState.h"
#include "core/SongPlayState.h"
#include "core/TransportState.h"

namespace chordella::core {

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

}  // namespace chordella::core
