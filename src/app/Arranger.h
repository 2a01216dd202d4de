#pragma once
// The modules that play, built in one place and in the order they lean on each other: the
// accompaniment engine, its clock, the transport, its side of the song operations (the song
// host), chord recognition, and chord-memory playback with the melody track; the last two
// together are the transport's peers.
//
// Every front end builds one: the window and `chordella arranger` through LiveArranger
// (which adds the MIDI inputs and the remote control), `render`, `play`, `export` and
// `generate` through RenderSession, `songlist`, the commands that make songs and styles
// (`batch songs`, `create`, `convert`), the benchmarks and the fuzz targets. The arranger
// makes each module the session's link of its kind (engine, transport, song host, chord
// recognition, melody track), so the modules' calls to each other reach the modules built
// here; the session has no link of its own, and a call through one nobody wired throws. It is also where the program's state aggregate
// (app/AppState.h) is split: each module gets the state structs it owns and those it reads,
// and nothing more.
//
// Teardown runs in reverse, as the destructor spells out, once the clock has left its timer
// (no tick runs meanwhile): song playback (the transport's peers are cleared first), chord
// recognition, the song host, the transport (it leaves the engine and the session), the
// clock, the engine. Each module unwires itself from the session.
//
// Control thread only.

#include <memory>

namespace chordella::core { class Session; }
namespace chordella::chords { class ChordRecogniser; }
namespace chordella::engine {
class AccompanimentEngine;
class Clock;
class Transport;
class TransportArrangement;
}  // namespace chordella::engine

namespace chordella::app {

struct AppState;
struct SongPlayback;

class Arranger {
public:
    // `app`: the program's state, which outlives the arranger.
    Arranger(core::Session& session, AppState& app);
    ~Arranger();
    Arranger(const Arranger&) = delete;
    Arranger& operator=(const Arranger&) = delete;

    engine::AccompanimentEngine& Engine() { return *engine_; }
    engine::Clock& Clock() { return *clock_; }
    engine::Transport& Transport() { return *transport_; }
    chords::ChordRecogniser& Recogniser() { return *recogniser_; }
    engine::TransportArrangement& SongHost() { return *songHost_; }

    // Chord-memory playback and the melody track (Play starts the song in the chord memory).
    SongPlayback& Songs() { return *playback_; }

private:
    core::Session& session_;
    AppState& app_;
    std::unique_ptr<engine::AccompanimentEngine> engine_;
    std::unique_ptr<engine::Clock> clock_;
    std::unique_ptr<engine::Transport> transport_;
    std::unique_ptr<engine::TransportArrangement> songHost_;
    std::unique_ptr<chords::ChordRecogniser> recogniser_;
    std::unique_ptr<SongPlayback> playback_;
};

}  // namespace chordella::app
