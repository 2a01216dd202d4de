#pragma once
// The program's live state: the plain field structs of the modules that own them (options,
// chords, keyboard and chord entry, the song, clock, engine note maps, settings, transport,
// chord-memory playback, the melody track). Whoever starts the program owns one next to its
// session (the window, a command, a test) and hands it to the arranger and the front end,
// which give each module the structs it owns and those it reads. A module's fields are
// written only by that module or through its functions.

#include "chords/ChordState.h"
#include "chords/EntryState.h"
#include "chords/KeyboardState.h"
#include "core/Options.h"
#include "data/ArrangementState.h"
#include "data/ConfigState.h"
#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "engine/MelodyState.h"
#include "engine/SongPlayState.h"
#include "engine/TransportState.h"

namespace chordella::app {

struct AppState {
    core::Options options;
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
