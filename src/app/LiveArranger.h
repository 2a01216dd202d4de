#pragma once
// The live arranger: the modules that play (an Arranger: engine, clock, transport, chord
// recognition, and chord-memory playback with the melody track) with the control keys, both
// MIDI input handlers, the transport's peers and the remote control wired to them. What the
// desktop window and `chordella arranger` share: construct it on a session whose ports are
// open, Start, run the session's loop, Stop.
//
// Control thread only.

#include <memory>

namespace chordella::core { class Session; }
namespace chordella::chords {
class ChordRecogniser;
class KeyboardInput;
class SecondInput;
class SectionKeys;
}  // namespace chordella::chords
namespace chordella::chords {
class InputLink;
}
namespace chordella::remote {
class LoopDelays;
class RemoteControl;
}  // namespace chordella::remote
namespace chordella::engine {
class AccompanimentEngine;
class Clock;
class Transport;
}  // namespace chordella::engine

namespace chordella::stylecreator { class MidiRecorder; }

namespace chordella::app {

class Arranger;
struct AppState;
struct SongPlayback;

class LiveArranger {
public:
    // Creates the modules and attaches the input handlers to MidiInput1 and MidiInput2.
    // `app`: the program's state, which outlives the arranger.
    LiveArranger(core::Session& session, AppState& app);
    // Stops (every note released) and detaches.
    ~LiveArranger();
    LiveArranger(const LiveArranger&) = delete;
    LiveArranger& operator=(const LiveArranger&) = delete;

    // The style starts through the transport (its Intro with "Play Intro", else Basic) and
    // the clock runs on the timer at `bpm` (the style's tempo when 0 or less); chords
    // played from now on transpose it at the next grid unit.
    void Start(int bpm);
    // Everything is ready and the tempo set as for Start, but the style waits for the first
    // chord played in the chord zone (which starts an idle style).
    void Ready(int bpm);
    // The panic: every channel is reset, the sounding notes are forgotten, and the keys the
    // player holds (chord zone and melody) count as released, so that a lost note-off no
    // longer spoils the chords that follow. The style plays on.
    void Panic();
    // The transport stops and every note on every channel of the main output is released
    // (the player's held notes, the style's sounding notes, then a reset of every channel).
    // Again without a Start in between it does nothing.
    void Stop();

    // Songs play live too: chord-memory playback and the melody track are there from the
    // start and answer the transport with chord recognition (Play starts the song in the
    // chord memory).
    SongPlayback& Songs();

    engine::AccompanimentEngine& Engine();
    engine::Clock& Clock();
    engine::Transport& Transport();
    chords::ChordRecogniser& Recogniser();
    chords::KeyboardInput& Keyboard() { return *keyboard_; }
    chords::SecondInput& Second() { return *second_; }
    chords::SectionKeys& SectionKeys() { return *sectionKeys_; }
    // The style creator's recorder that the second input feeds while it records (nullptr: none).
    void SetCreatorRecorder(stylecreator::MidiRecorder* recorder);
    // The remote control: MIDI commands, program control, instrument keys and the learned
    // bindings of the second input.
    remote::RemoteControl& Remote() { return *remote_; }
    // What the input side asks of the transport (the pads and computer keys ask it too).
    chords::InputLink& InputLink() { return *peers_; }

private:
    core::Session& session_;
    AppState& app_;
    std::unique_ptr<Arranger> arranger_;
    std::unique_ptr<chords::InputLink> peers_;
    std::unique_ptr<chords::SectionKeys> sectionKeys_;
    std::unique_ptr<chords::KeyboardInput> keyboard_;
    std::unique_ptr<chords::SecondInput> second_;
    std::unique_ptr<remote::LoopDelays> delays_;
    std::unique_ptr<remote::RemoteControl> remote_;
    bool stopped_ = false;  // Stop ran and nothing was started since
};

}  // namespace chordella::app
