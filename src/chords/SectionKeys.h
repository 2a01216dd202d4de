#pragma once
// The control keys as the input side hands them to the engine, and the release of the chord
// "Play Chords" sounds.

#include <cstdint>

#include "core/Links.h"

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::data { struct ConfigState; }
namespace chordella::engine { struct TransportState; }

namespace chordella::chords {

class ChordRecogniser;
class InputLink;
struct KeyboardState;

// The code a pressed control key is stored with.
inline constexpr int SectionKeyCode = 12;
// Key marks of the chord memory: major and minor.
inline constexpr int MajorKeyMark = 13;
inline constexpr int MinorKeyMark = 14;

class SectionKeys {
public:
    SectionKeys(core::Session& session, const KeyboardState& keyboard, const core::Options& options,
                const data::ConfigState& config, const engine::TransportState& transportState,
                ChordRecogniser& recogniser, core::EngineLink& engine, core::TransportLink& transport,
                InputLink& peers);
    void SetPeers(InputLink& peers);

    // Control thread (input handlers, pads, computer keys, remote control, chord-memory
    // playback). Hands the engine a control key (key, code) for the next grid unit; it
    // empties the pending chord's notes and is applied at once while the clock is off. Code
    // 0 does nothing; with "Play Chords" on
    // neither does anything else, except in the chord memory's second recording mode.
    void SectionKey(int key, int code);

    // Control thread. Releases the chord "Play Chords" sounds on the voice channel (the
    // octave spinner's shift included); while the clock runs the voice channel is reset.
    void StopTriggeredChord();

private:
    core::Session& session_;
    const KeyboardState& keyboard_;
    const core::Options& options_;
    const data::ConfigState& config_;
    const engine::TransportState& transportState_;
    ChordRecogniser& recogniser_;
    core::EngineLink& engine_;
    core::TransportLink& transport_;
    InputLink* peers_;
};

}  // namespace chordella::chords
