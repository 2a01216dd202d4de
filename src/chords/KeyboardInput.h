#pragma once
// The handler of the keyboard input (MidiInput1): decides what happens to every message a
// MIDI keyboard sends. Notes of the chord zone become chords, control keys switch sections,
// "Play Chords" triggers chords, and melody notes are re-channelled, split, transposed,
// adjusted to the chord, coloured in velocity and passed on to the main output. Controllers
// keep the sustain state and honour the channel suppression.
//
// Control thread only: the device layer calls Drain from its notification.

#include <cstdint>
#include <string>

#include "chords/MelodyPath.h"
#include "midi/SysexAssembly.h"

namespace chordella::core { class Session; }
namespace chordella::midi {
class TMidiInput;
struct TMyMidiEvent;
}  // namespace chordella::midi

namespace chordella::chords {

class ChordRecogniser;
class InputLink;
class SectionKeys;

// The status line after an input overflow: "MIDI input overflow: 12 messages lost".
std::string OverflowStatus(std::uint32_t lost);

class KeyboardInput {
public:
    // Control thread. `peers` may be null (no remote control, melody track or chord memory).
    KeyboardInput(core::Session& session, ChordRecogniser& recogniser, SectionKeys& sectionKeys,
                  InputLink* peers = nullptr);
    ~KeyboardInput();
    KeyboardInput(const KeyboardInput&) = delete;
    KeyboardInput& operator=(const KeyboardInput&) = delete;

    // Control thread. Becomes (stops being) MidiInput1's OnMidiInput and OnOverflow handler.
    void Attach();
    void Detach();
    void SetPeers(InputLink* peers);
    // False while the handler runs without the other input modules (NoInputModules).
    bool PeersWired() const;

    // Control thread. Drains the input's ring completely, one event at a time.
    void Drain(midi::TMidiInput& input);
    // Control thread. Messages were lost to a full ring (the control thread stalled): what
    // did arrive is handled, then nothing held before is trusted any longer. The chord zone's
    // held-note list is emptied (the next notes form the next chord), melody notes and a
    // triggered chord are released, and the loss is shown once in the status line.
    void Overflowed(midi::TMidiInput& input);
    // Control thread. One received message (a whole system-exclusive message passes
    // through unchanged; a broken one is not passed on).
    void HandleEvent(const midi::TMyMidiEvent& event);

    // Control thread. Sends the release of every melody note that is still held (at exit,
    // or when the output changes) and forgets them.
    void ReleaseHeldNotes();

    // The Ctrl and Shift keys held now (the user interface keeps them current).
    void SetModifiers(KeyModifiers modifiers) { modifiers_ = modifiers; }

private:
    struct Message {
        std::uint8_t Status;
        std::uint8_t Data1;
        std::uint8_t Data2;
        bool Press() const { return (Status & 0xF0) == 0x90 && Data2 > 0; }
        int Channel() const { return Status & 0x0F; }
        int Kind() const { return Status & 0xF0; }
    };

    bool ChordStep(const Message& m);
    void TriggeredChord(const Message& m);
    bool OutsideChordZone(const Message& m);
    bool ChordZoneKey(const Message& m);
    bool CommonEnd(int key);
    bool InstrumentZone(const Message& m);
    void MelodyPath(Message m);
    void ReleaseWhereStarted(Message m);
    bool ControllerStep(const Message& m);
    // All notes off (123) or all sound off (120) received on `channel`: its keys count as released.
    void ForgetHeldNotes(int channel);
    void Pass(const Message& m);

    core::Session& session_;
    ChordRecogniser& recogniser_;
    SectionKeys& sectionKeys_;
    InputLink* peers_;
    KeyModifiers modifiers_;
    bool attached_ = false;
    std::uint32_t lostShown_ = 0;  // the input's loss count last shown
    midi::SysexAssembly sysex_;
};

}  // namespace chordella::chords
