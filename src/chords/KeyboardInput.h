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

#include "core/Links.h"
#include "chords/InputHandler.h"
#include "chords/MelodyPath.h"

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::data { struct ConfigState; }
namespace chordella::engine {
struct ClockState;
struct EngineState;
}  // namespace chordella::engine
namespace chordella::midi {
class TMidiInput;
struct TMyMidiEvent;
}  // namespace chordella::midi

namespace chordella::chords {

class ChordRecogniser;
class InputLink;
class SectionKeys;

class KeyboardInput final : public InputHandler {
public:
    // Control thread. `peers`: the modules around the input (remote control, melody track,
    // chord memory, style creator), which outlive it.
    KeyboardInput(core::Session& session, ChordState& chordState, KeyboardState& keyboard,
                  const core::Options& options, const data::ConfigState& config, const engine::ClockState& clockState,
                  const engine::EngineState& engineState, ChordRecogniser& recogniser, SectionKeys& sectionKeys,
                  core::EngineLink& engine, InputLink& peers);

    // Attach, Detach, Drain and Overflowed (InputHandler) serve MidiInput1.
    void SetPeers(InputLink& peers);

    // Control thread. One received message (a whole system-exclusive message passes
    // through unchanged; a broken one is not passed on).
    void HandleEvent(const midi::TMyMidiEvent& event);

    // Control thread. Sends the release of every melody note that is still held (at exit,
    // or when the output changes) and forgets them.
    void ReleaseHeldNotes();

    // The Ctrl and Shift keys held now (the user interface keeps them current).
    void SetModifiers(KeyModifiers modifiers) { modifiers_ = modifiers; }

private:
    void Handle(const midi::TMyMidiEvent& event) override { HandleEvent(event); }
    // After a loss: melody notes, a held sustain or sostenuto pedal and a triggered chord.
    void ReleaseAfterLoss() override;

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
    // A chord-zone key's last step: the chord (if any) is set, swapped major ↔ minor when
    // "Major <> Minor" is on and the key is its root. False when there is no chord.
    bool CommonEnd(int key, core::ChordPair chord);
    bool InstrumentZone(const Message& m);
    void MelodyPath(Message m);
    void ReleaseWhereStarted(Message m);
    bool ControllerStep(const Message& m);
    // All notes off (123) or all sound off (120) received on `channel`: its keys count as released.
    void ForgetHeldNotes(int channel);
    void Pass(const Message& m);

    ChordState& chordState_;
    KeyboardState& keyboard_;
    const core::Options& options_;
    const data::ConfigState& config_;
    const engine::ClockState& clockState_;
    const engine::EngineState& engineState_;
    ChordRecogniser& recogniser_;
    SectionKeys& sectionKeys_;
    core::EngineLink& engine_;
    InputLink* peers_;
    KeyModifiers modifiers_;
};

}  // namespace chordella::chords
