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

#include "chords/ThruFilter.h"
#include "midi/SysexAssembly.h"

namespace chordella::core { class Session; }
namespace chordella::core { class ClockLink; }
namespace chordella::midi {
class TMidiInput;
struct TMyMidiEvent;
}  // namespace chordella::midi

namespace chordella::chords {

class ChordRecogniser;
class InputLink;

class SecondInput {
public:
    // Control thread. `clock` may be null (no slave mode, no tempo detection); `peers` too.
    SecondInput(core::Session& session, ChordRecogniser& recogniser, core::ClockLink* clock,
                InputLink* peers = nullptr);
    ~SecondInput();
    SecondInput(const SecondInput&) = delete;
    SecondInput& operator=(const SecondInput&) = delete;

    // Control thread. Becomes (stops being) MidiInput2's OnMidiInput and OnOverflow handler
    // and routes timing clock through the ring.
    void Attach();
    void Detach();
    void SetPeers(InputLink* peers);
    // False while the handler runs without the other input modules (NoInputModules).
    bool PeersWired() const;

    // Control thread. Drains the ring; of a run of command messages in one call only the
    // first runs.
    void Drain(midi::TMidiInput& input);
    // Control thread. Messages were lost to a full ring (the control thread stalled): what
    // did arrive is handled, then nothing held before is trusted any longer, as after an
    // overflow of the keyboard input. The chord zone's held-note list is emptied (the next
    // notes form the next chord), the notes passed on to the first output whose releases may
    // be among the lost are released, and the loss is shown once in the status line.
    void Overflowed(midi::TMidiInput& input);
    // Control thread. One message; `commandRun` carries the run of commands across a drain.
    void HandleEvent(const midi::TMyMidiEvent& event, bool& commandRun);

    // Commands dropped because they followed another in one drain (a flood is thinned out,
    // never queued up).
    std::uint64_t DroppedCommands() const { return droppedCommands_; }

    // The thru filter every message from here, the style player and the song player pass.
    ThruFilter& Filter() { return filter_; }

private:
    bool Command(int kind, int data1, int data2, bool& commandRun);
    bool Detection(int data1, int data2);
    void Realtime(std::uint8_t status);
    void PassToFirstOutput(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // A whole system-exclusive message goes thru; a broken one (empty here) does not.
    void PassSysex(std::span<const std::uint8_t> message);

    core::Session& session_;
    core::ClockLink* clock_;
    InputLink* peers_;
    ThruFilter filter_;
    bool attached_ = false;
    std::uint64_t droppedCommands_ = 0;
    std::uint32_t lostShown_ = 0;
    // The notes passed on to the first output and not yet released, by channel * 128 + key.
    std::bitset<16 * 128> passedNotes_;
    midi::SysexAssembly sysex_;
};

}  // namespace chordella::chords
