#pragma once
// The handler of the keyboard input (MidiInput1): decides what happens to every message a
// MIDI keyboard sends. Notes of the chord zone become chords, control keys switch sections,
// "Play Chords" triggers chords, and melody notes are re-channelled, split, transposed,
// adjusted to the chord, coloured in velocity and passed on to the main output. Controllers
// keep the sustain state and honour the channel suppression.
//
// Control thread only: the device layer calls Drain from its notification.

#include <cstdint>

#include "chords/MelodyPath.h"

namespace chordella::core { class Session; }
namespace chordella::midi {
class TMidiInput;
struct TMyMidiEvent;
}  // namespace chordella::midi

namespace chordella::chords {

class ChordRecogniser;
class InputLink;
class SectionKeys;

class KeyboardInput {
public:
    // Control thread. `peers` may be null (no remote control, melody track or chord memory).
    KeyboardInput(core::Session& session, ChordRecogniser& recogniser, SectionKeys& sectionKeys,
                  InputLink* peers = nullptr);
    ~KeyboardInput();
    KeyboardInput(const KeyboardInput&) = delete;
    KeyboardInput& operator=(const KeyboardInput&) = delete;

    // Control thread. Becomes (stops being) MidiInput1's OnMidiInput handler.
    void Attach();
    void Detach();
    void SetPeers(InputLink* peers);

    // Control thread. Drains the input's ring completely, one event at a time.
    void Drain(midi::TMidiInput& input);
    // Control thread. One received message (system exclusive passes through unchanged).
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
    void Pass(const Message& m);

    core::Session& session_;
    ChordRecogniser& recogniser_;
    SectionKeys& sectionKeys_;
    InputLink* peers_;
    KeyModifiers modifiers_;
    bool attached_ = false;
};

}  // namespace chordella::chords
