#pragma once
// The operating modes of the configuration's mode list: each sets the switches that decide
// which paths of the keyboard input are active.

#include <array>
#include <string_view>

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::engine { struct ClockState; }

namespace chordella::chords {

struct ChordState;
struct KeyboardState;

enum class OperatingMode {
    AccompanimentOn,
    PlayTriggeredChords,
    TwoFingerChords,
    SyncExternalSequencer,
    SyncInternalClock,
    NormalKeyboard,
    NormalKeyboardInstruments,
    SplittedKeyboard,
};

inline constexpr std::array<std::string_view, 8> OperatingModeCaptions = {
    "Accompaniment on",
    "Play triggered Chords",
    "Play Two-Finger-Chords - Chordtypes : ",
    "Synchronize System with ext. Sequencer",
    "Synchronize System with internal Clock",
    "Normal Keyboard",
    "Normal Keyboard - Instruments :",
    "Splitted Keyboard",
};

// Control thread. The "Play Chords" switch: TriggerVelocity 100 and the triggered-chord
// zone when on, TriggerVelocity 1 when off. Ignored while the clock runs (answers false).
bool SetPlayChords(core::Session& session, const ChordState& chordState, KeyboardState& keyboard,
                   core::Options& options, const engine::ClockState& clockState, bool on);

// Control thread. Sets the switches of `mode`; the caller stops a running playback first
// (the switch "Play Chords" does not change while the clock runs). The synchronisation
// modes only choose slave or master mode; the transport sets the clock up from them.
void ApplyOperatingMode(core::Session& session, const ChordState& chordState, KeyboardState& keyboard,
                        core::Options& options, const engine::ClockState& clockState, OperatingMode mode);

}  // namespace chordella::chords
