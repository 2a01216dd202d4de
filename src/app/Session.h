#pragma once
// The session owns everything that lives as long as the program: the two state objects,
// the control thread's event loop (and through the modules the clock and the MIDI ports),
// the prompter, the view, the data home and the random source. Behaviour classes take a
// Session& and reach what they need through it; there are no globals.

#include <cstdint>
#include <memory>

#include "app/AppState.h"
#include "app/Links.h"
#include "app/StyleContainer.h"
#include "app/View.h"
#include "data/StyleHooks.h"
#include "midi/ControllerTable.h"
#include "midi/MidiOut.h"
#include "platform/EventLoop.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/Random.h"

namespace chordella::app {

// What a session is built from: the outside interfaces, chosen by who starts it
// (the desktop window, the command line, a test).
struct SessionParts {
    std::unique_ptr<platform::Prompter> prompter;
    std::unique_ptr<View> view;
    platform::Paths paths;
    std::uint64_t seed = platform::Random::DefaultSeed();
};

class Session {
public:
    explicit Session(SessionParts parts);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    AppState& App() { return app_; }
    StyleContainer& Style() { return style_; }
    platform::EventLoop& Loop() { return loop_; }
    platform::Prompter& Prompter() { return *prompter_; }
    View& Display() { return *view_; }
    platform::Random& Random() { return random_; }
    const platform::Paths& Paths() const { return paths_; }

    // The cross-module calls; the modules register themselves when they are created.
    EngineLink& Engine() { return *engineLink_; }
    ChordLink& Chords() { return *chordLink_; }
    void SetEngineLink(EngineLink* link) { engineLink_ = link ? link : &noEngine_; }
    void SetChordLink(ChordLink* link) { chordLink_ = link ? link : &noChords_; }
    TransportLink& Transport() { return *transportLink_; }
    void SetTransportLink(TransportLink* link) { transportLink_ = link ? link : &noTransport_; }

    // The steps of loading a style that belong to other modules; each adds its hooks here.
    data::StyleHookList& StyleHooks() { return styleHooks_; }

    // The last controller values per channel, shared by input, engine, loader and mixer.
    midi::ControllerTable& Controllers() { return controllers_; }

    // The outputs the engine sends on; nullptr = none. The accompaniment output is also the
    // main output (the current output of the device layer); the clock output carries the
    // MIDI clock; chord codes go to the chord-code output, or the accompaniment output
    // when none is set. Set on the control thread while no tick runs.
    midi::MidiOut* AccompanimentOutput() { return accompanimentOutput_; }
    midi::MidiOut* ClockOutput() { return clockOutput_; }
    midi::MidiOut* ChordCodeOutput() { return chordCodeOutput_ ? chordCodeOutput_ : accompanimentOutput_; }
    void SetAccompanimentOutput(midi::MidiOut* out) { accompanimentOutput_ = out; }
    void SetClockOutput(midi::MidiOut* out) { clockOutput_ = out; }
    void SetChordCodeOutput(midi::MidiOut* out) { chordCodeOutput_ = out; }

private:
    AppState app_;
    StyleContainer style_;
    platform::EventLoop loop_;
    std::unique_ptr<platform::Prompter> prompter_;
    std::unique_ptr<View> view_;
    platform::Paths paths_;
    platform::Random random_;
    NoEngine noEngine_;
    NoChords noChords_;
    EngineLink* engineLink_ = &noEngine_;
    ChordLink* chordLink_ = &noChords_;
    NoTransport noTransport_;
    TransportLink* transportLink_ = &noTransport_;
    midi::ControllerTable controllers_;
    data::StyleHookList styleHooks_;
    midi::MidiOut* accompanimentOutput_ = nullptr;
    midi::MidiOut* clockOutput_ = nullptr;
    midi::MidiOut* chordCodeOutput_ = nullptr;
};

}  // namespace chordella::app
