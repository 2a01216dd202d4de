#pragma once
// Chord entry without a MIDI keyboard: the chord pads and section buttons of the main
// window, its on-screen piano keyboard and the computer keyboard. They all end where MIDI
// input ends: SetChord for chords, SectionKey for sections and SendVoiceMessage for melody
// notes, which always follow the chord that sounds ("Melody Ad Lib" is forced on for them).
// The pads can instead hand their chord to the chord-memory editor.
//
// What is held between press and release is the entry state (chords/EntryState.h).
//
//   chords::ChordEntry entry(session, chordState, keyboard, entryState, options, config, clockState,
//                            engineState, transportState, melodyState, recogniser, sectionKeys, engine, peers);
//   entry.PadDown("D04", {});        // Ab min7
//   entry.KeyDown('C', false, {});   // C maj (accompaniment on), or a melody note
//   entry.KeyUp('C', {});
//
// Control thread only: the window forwards its mouse and key events here.

#include <string_view>

#include "chords/ComputerKeys.h"
#include "chords/VoiceMessages.h"
#include "core/Links.h"

namespace chordella::core {
class Session;
class ClockLink;
struct Options;
}  // namespace chordella::core
namespace chordella::data { struct ConfigState; }
namespace chordella::engine {
struct ClockState;
struct EngineState;
struct MelodyState;
struct TransportState;
}  // namespace chordella::engine

namespace chordella::chords {

class ChordRecogniser;
class InputLink;
class SectionKeys;
struct ChordState;
struct EntryState;
struct KeyboardState;

// The modifier keys and the mouse button of a click or key stroke.
struct EntryModifiers {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
    bool LeftButton = true;
};

// Where a pad's chord goes when the chord-memory editor takes it (the editor implements it).
class PadEditorLink {
public:
    virtual ~PadEditorLink() = default;
    // The editor's chord-entry mode.
    virtual bool ChordEntryMode() { return false; }
    // The pad's root and slot (the slot not yet mapped to a type; 12 = a section command).
    virtual void TakeChord(int /*root*/, int /*slot*/) {}
};

// The function keys F1 … F4 as the window reports them.
inline constexpr int FirstFunctionKey = 1;
inline constexpr int LastFunctionKey = 4;

class ChordEntry {
public:
    // Control thread. `peers`: the modules around the input, which outlive it; `editor` may be
    // null (no editor).
    // Chord entry keeps the chord, keyboard and entry state; it reads the rest.
    ChordEntry(core::Session& session, ChordState& chordState, KeyboardState& keyboard, EntryState& entry,
               const core::Options& options, const data::ConfigState& config, const engine::ClockState& clockState,
               const engine::EngineState& engineState, const engine::TransportState& transportState,
               const engine::MelodyState& melodyState, ChordRecogniser& recogniser, SectionKeys& sectionKeys,
               core::EngineLink& engine, InputLink& peers, PadEditorLink* editor = nullptr);
    ChordEntry(const ChordEntry&) = delete;
    ChordEntry& operator=(const ChordEntry&) = delete;

    void SetPeers(InputLink& peers);
    void SetEditor(PadEditorLink* editor);
    // The clock a Shift-click on a section button switches off in slave mode (may be null).
    void SetClock(core::ClockLink* clock);

    // A pad or section button pressed and released ("A00" … "K11", "M00" … "M23",
    // "L00" … "L04"; other names are ignored).
    void PadDown(std::string_view pad, EntryModifiers modifiers);
    void PadUp(std::string_view pad);

    // The on-screen keyboard's note-on and note-off (notes outside 0 … 127 are ignored).
    // With the accompaniment on a press sets a chord on the note, else it plays a melody note.
    void ScreenNoteOn(int note, int velocity);
    void ScreenNoteOff(int note, int velocity);

    // The computer keyboard (virtual-key codes 0 … 255; others are ignored). True when the
    // key stroke was taken; false leaves it to the window (F1 … F12, space, arrows …).
    bool KeyDown(int virtualKey, bool autoRepeat, EntryModifiers modifiers);
    bool KeyUp(int virtualKey, EntryModifiers modifiers);

    // F1 … F4 (1 … 4): F1 fill in (only once the style player has been started: false
    // otherwise, the window opens the help then), F2 to extended, F3 to basic, F4 ending.
    // False for any other number.
    bool FunctionKey(int fKey);

    // Every melody note still sounding from the computer or on-screen keyboard ends (when
    // the window loses the focus, at exit).
    void ReleaseAll();

private:
    bool SectionButtonKey(int button, EntryModifiers modifiers, int& key);
    bool TypeKeyDown(int key, int value);
    bool ChordKeyDown(int key, int value, bool autoRepeat, EntryModifiers modifiers);
    bool MelodyKeyDown(int key, int value, KeyZoneKind zone, EntryModifiers modifiers);
    bool IsChordKey(KeyZoneKind zone) const;
    bool AccompanimentOn() const;
    // A melody note or controller entered here leaves through SendVoiceMessage.
    void SendVoice(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

    core::Session& session_;
    ChordState& chordState_;
    KeyboardState& keyboard_;
    EntryState& entry_;
    const core::Options& options_;
    const data::ConfigState& config_;
    const engine::ClockState& clockState_;
    const engine::EngineState& engineState_;
    const engine::TransportState& transportState_;
    const engine::MelodyState& melodyState_;
    ChordRecogniser& recogniser_;
    SectionKeys& sectionKeys_;
    core::EngineLink& engine_;
    InputLink* peers_;
    PadEditorLink* editor_;
    core::ClockLink* clock_ = nullptr;
};

}  // namespace chordella::chords
