#pragma once
// The session owns what every module shares for as long as the program runs: the loaded style,
// the control thread's event loop (and through the modules the clock and the MIDI ports), the
// links between the modules, the outputs, the prompter, the view, the data home and the random
// source; there are no globals. The live state is not here: each module's state struct belongs
// to that module, the program's aggregate of them (app/AppState.h) to whoever starts the
// program, and behaviour classes are built from the structs they work on (app/Arranger.h).

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

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

// A module called a link that whoever assembled the program did not wire.
class UnwiredLink : public std::logic_error {
public:
    explicit UnwiredLink(const std::string& what) : std::logic_error(what + " is not wired to this session") {}
};

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
    // arranger, app/Arranger.h, or a test's rig); nothing is wired by default. A call through a
    // link nobody wired is an assembly fault and throws UnwiredLink naming the link, so it shows
    // at once instead of the call going nowhere. A module that goes unwires itself (Unwire:
    // nothing happens unless it is the wired one).
    EngineLink& Engine() { return Wired(engineLink_, "the accompaniment engine"); }
    ChordLink& Chords() { return Wired(chordLink_, "chord recognition"); }
    TransportLink& Transport() { return Wired(transportLink_, "the transport"); }
    // What the song operations need from the transport, the style, the clock and the
    // editor (data/ArrangementLink.h).
    data::ArrangementLink& ArrangementLink() { return Wired(songHost_, "the song host"); }
    void SetEngineLink(EngineLink* link) { engineLink_ = link; }
    void SetChordLink(ChordLink* link) { chordLink_ = link; }
    void SetTransportLink(TransportLink* link) { transportLink_ = link; }
    void SetArrangementLink(data::ArrangementLink* host) { songHost_ = host; }
    void Unwire(const EngineLink* link) { Unwire(engineLink_, link); }
    void Unwire(const ChordLink* link) { Unwire(chordLink_, link); }
    void Unwire(const TransportLink* link) { Unwire(transportLink_, link); }
    void Unwire(const data::ArrangementLink* link) { Unwire(songHost_, link); }

    // The links that may be absent in a working program. The melody track exists while song
    // playback is attached (null: melody-channel messages are not recorded); the remote
    // control while the live arranger runs (null: chord-memory MIDI commands are not sent).
    MelodyLink* Melody() { return melodyLink_; }
    void SetMelodyLink(MelodyLink* link) { melodyLink_ = link; }
    void Unwire(const MelodyLink* link) { Unwire(melodyLink_, link); }
    MidiCommandLink* MidiCommands() { return midiCommandLink_; }
    void SetMidiCommandLink(MidiCommandLink* link) { midiCommandLink_ = link; }
    void Unwire(const MidiCommandLink* link) { Unwire(midiCommandLink_, link); }

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
    template <typename Link>
    static Link& Wired(Link* link, const char* what) {
        if (link == nullptr) throw UnwiredLink(what);
        return *link;
    }
    template <typename Link>
    static void Unwire(Link*& slot, const Link* link) {
        if (slot == link) slot = nullptr;
    }

    StyleContainer style_;
    platform::EventLoop loop_;
    midi::MidiPorts midi_;  // after the loop: the ports close before it goes
    std::unique_ptr<platform::Prompter> prompter_;
    std::unique_ptr<View> view_;
    platform::Paths paths_;
    platform::Random random_;
    EngineLink* engineLink_ = nullptr;
    ChordLink* chordLink_ = nullptr;
    TransportLink* transportLink_ = nullptr;
    data::ArrangementLink* songHost_ = nullptr;
    MelodyLink* melodyLink_ = nullptr;
    MidiCommandLink* midiCommandLink_ = nullptr;
    data::StyleLoadLinkList styleHooks_;
    midi::MidiOut* accompanimentOutput_ = nullptr;
    midi::MidiOut* clockOutput_ = nullptr;
    midi::MidiOut* chordCodeOutput_ = nullptr;
};

}  // namespace chordella::core
