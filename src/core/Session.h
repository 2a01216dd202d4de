#pragma once
// The session owns what every module shares for as long as the program runs: the loaded style,
// the control thread's event loop (and through the modules the clock and the MIDI ports), the
// links between the modules, the outputs, the prompter, the view, the data home and the random
// source; there are no globals. The live state is not here: each module's state struct belongs
// to that module, the program's aggregate of them (app/AppState.h) to whoever starts the
// program, and behaviour classes are built from the structs they work on (app/Arranger.h).

#include <cstdint>
#include <memory>

#include "core/Links.h"
#include "core/StyleContainer.h"
#include "core/View.h"
#include "data/ArrangementLink.h"
#include "data/StyleLoadLink.h"
#include "midi/ControllerTable.h"
#include "midi/MidiOut.h"
#include "midi/MidiPorts.h"
#include "platform/EventLoop.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/Random.h"

namespace chordella::core {

// What a session is built from: the outside interfaces, chosen by who starts it
// (the desktop window, the command line, a test).
struct SessionParts {
    std::unique_ptr<platform::Prompter> prompter;
    std::unique_ptr<View> view;
    platform::Paths paths;
    std::uint64_t seed = platform::Random::DefaultSeed();
    // Where the MIDI ports come from; none: an in-memory backend without devices.
    std::unique_ptr<midi::MidiBackend> midiBackend;
};

class Session {
public:
    explicit Session(SessionParts parts);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    StyleContainer& Style() { return style_; }
    platform::EventLoop& Loop() { return loop_; }
    platform::Prompter& Prompter() { return *prompter_; }
    View& Display() { return *view_; }
    platform::Random& Random() { return random_; }
    const platform::Paths& Paths() const { return paths_; }

    // The MIDI device layer: the backend, the five port components (each slot may be
    // empty), the current output and the controller table.
    midi::MidiPorts& Midi() { return midi_; }
    midi::MidiBackend& MidiBackend() { return midi_.Backend(); }
    midi::ControllerTable& Controllers() { return midi_.Controllers(); }
    midi::TMidiInput* MidiInput1() { return midi_.MidiInput1.get(); }
    midi::TMidiInput* MidiInput2() { return midi_.MidiInput2.get(); }
    midi::TMidiOutput* MidiOutput1() { return midi_.MidiOutput1.get(); }
    midi::TMidiOutput* MidiOutput2() { return midi_.MidiOutput2.get(); }
    midi::TMidiOutput* MidiOutput3() { return midi_.MidiOutput3.get(); }
    midi::TMidiOutput* CurrentOutput() { return midi_.CurrentOutput(); }

    // The cross-module calls. Whoever assembles the modules wires them here (the program's
    // arranger, app/Arranger.h, or a test's rig); a module that goes hands its link back.
    EngineLink& Engine() { return *engineLink_; }
    ChordLink& Chords() { return *chordLink_; }
    void SetEngineLink(EngineLink* link) { engineLink_ = link ? link : &noEngine_; }
    void SetChordLink(ChordLink* link) { chordLink_ = link ? link : &noChords_; }
    // What the song operations need from the transport, the style, the clock and the
    // editor (data/ArrangementLink.h); the application wires it, null restores the default.
    data::ArrangementLink& ArrangementLink() { return *songHost_; }
    void SetArrangementLink(data::ArrangementLink* host) { songHost_ = host ? host : &noSongHost_; }
    // False while the song operations run without the modules (NoArrangementLink).
    bool ArrangementLinkWired() const { return songHost_ != &noSongHost_; }
    TransportLink& Transport() { return *transportLink_; }
    // The melody track: the input side hands the melody channel's messages to it.
    MelodyLink& Melody() { return *melodyLink_; }
    void SetMelodyLink(MelodyLink* link) { melodyLink_ = link ? link : &noMelody_; }
    void SetTransportLink(TransportLink* link) { transportLink_ = link ? link : &noTransport_; }
    // The MIDI commands chord-memory playback asks for (the live arranger wires the remote control).
    MidiCommandLink& MidiCommands() { return *midiCommandLink_; }
    void SetMidiCommandLink(MidiCommandLink* link) { midiCommandLink_ = link ? link : &noMidiCommands_; }

    // The steps of loading a style that belong to other modules; each adds its hooks here.
    data::StyleLoadLinkList& StyleLoadLink() { return styleHooks_; }

    // The outputs the engine sends on. The accompaniment output is also the main output:
    // the device layer's current output unless another one is set (offline rendering,
    // tests). The clock output (MIDI clock) and the chord-code output are the accompaniment
    // output unless set. Set on the control thread while no tick runs; nullptr = default.
    midi::MidiOut* AccompanimentOutput() {
        return accompanimentOutput_ ? accompanimentOutput_ : midi_.CurrentOutput();
    }
    midi::MidiOut* ClockOutput() { return clockOutput_ ? clockOutput_ : AccompanimentOutput(); }
    midi::MidiOut* ChordCodeOutput() { return chordCodeOutput_ ? chordCodeOutput_ : AccompanimentOutput(); }
    void SetAccompanimentOutput(midi::MidiOut* out) { accompanimentOutput_ = out; }
    void SetClockOutput(midi::MidiOut* out) { clockOutput_ = out; }
    void SetChordCodeOutput(midi::MidiOut* out) { chordCodeOutput_ = out; }

private:
    StyleContainer style_;
    platform::EventLoop loop_;
    midi::MidiPorts midi_;  // after the loop: the ports close before it goes
    std::unique_ptr<platform::Prompter> prompter_;
    std::unique_ptr<View> view_;
    platform::Paths paths_;
    platform::Random random_;
    NoEngine noEngine_;
    NoChords noChords_;
    EngineLink* engineLink_ = &noEngine_;
    ChordLink* chordLink_ = &noChords_;
    data::NoArrangementLink noSongHost_;
    data::ArrangementLink* songHost_ = &noSongHost_;
    NoTransport noTransport_;
    TransportLink* transportLink_ = &noTransport_;
    NoMelody noMelody_;
    MelodyLink* melodyLink_ = &noMelody_;
    NoMidiCommands noMidiCommands_;
    MidiCommandLink* midiCommandLink_ = &noMidiCommands_;
    data::StyleLoadLinkList styleHooks_;
    midi::MidiOut* accompanimentOutput_ = nullptr;
    midi::MidiOut* clockOutput_ = nullptr;
    midi::MidiOut* chordCodeOutput_ = nullptr;
};

}  // namespace chordella::core
