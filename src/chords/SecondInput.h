#pragma once
// The handler of the second input (MidiInput2): MIDI commands on the lowest keys and
// controllers, start-measure and tempo detection, the thru filter on the way to the first
// output, and, in slave mode, the external sequencer's clock.
//
// Timing clock reaches the tick as follows: Attach sets the callback's clock routing to
// queue timing clock in the ring like every other message (routing 1), and Drain hands
// each 0xF8 to the clock the moment it is taken from the ring, before anything else is
// looked at. So every clock byte runs exactly one tick, in its order against Start,
// Continue and Stop, however busy the control thread was (a raised signal would merge
// clock bytes that arrive while the control thread is busy, and lose ticks).
//
// Control thread only.

#include <bitset>
#include <cstdint>
#include <span>

#include "chords/InputHandler.h"
#include "chords/ThruFilter.h"

namespace chordella::core {
class Session;
class ClockLink;
struct Options;
}  // namespace chordella::core
namespace chordella::engine { struct EngineState; }
namespace chordella::midi {
class TMidiInput;
struct TMyMidiEvent;
}  // namespace chordella::midi

namespace chordella::chords {

class ChordRecogniser;
class InputLink;
struct KeyboardState;

class SecondInput final : public InputHandler {
public:
    // Control thread. `clock` may be null (no slave mode, no tempo detection). `peers`: the
    // modules around the input, which outlive it.
    // The engine state is what the thru filter reads of the engine.
    SecondInput(core::Session& session, KeyboardState& keyboard, const core::Options& options,
                const engine::EngineState& engineState, ChordRecogniser& recogniser, core::ClockLink* clock,
                InputLink& peers);

    // Control thread. Becomes (stops being, with Detach) MidiInput2's OnMidiInput and
    // OnOverflow handler and routes timing clock through the ring. Drain and Overflowed
    // (InputHandler) serve MidiInput2; of a run of command messages in one drain only the
    // first runs.
    void Attach() override;
    void SetPeers(InputLink& peers);

    // Control thread. One message; `commandRun` carries the run of commands across a drain.
    void HandleEvent(const midi::TMyMidiEvent& event, bool& commandRun);

    // Commands dropped because they followed another in one drain (a flood is thinned out,
    // never queued up).
    std::uint64_t DroppedCommands() const { return droppedCommands_; }

    // The thru filter every message from here, the style player and the song player pass.
    ThruFilter& Filter() { return filter_; }

private:
    void BeginDrain() override { commandRun_ = false; }
    void Handle(const midi::TMyMidiEvent& event) override { HandleEvent(event, commandRun_); }
    // After a loss: the notes and pedals passed on to the first output and not yet released.
    void ReleaseAfterLoss() override;

    bool Command(int kind, int data1, int data2, bool& commandRun);
    bool Detection(int data1, int data2);
    void Realtime(std::uint8_t status);
    void PassToFirstOutput(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

    const KeyboardState& keyboard_;
    const core::Options& options_;
    core::ClockLink* clock_;
    InputLink* peers_;
    ThruFilter filter_;
    bool commandRun_ = false;
    std::uint64_t droppedCommands_ = 0;
    // The notes passed on to the first output and not yet released, by channel * 128 + key;
    // the sustain and sostenuto pedals passed on pressed, by channel * 2 (+ 1: sostenuto).
    std::bitset<16 * 128> passedNotes_;
    std::bitset<16 * 2> passedPedals_;
};

}  // namespace chordella::chords
