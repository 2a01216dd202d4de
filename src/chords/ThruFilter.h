#pragma once
// The filter every message from the second input passes on its way out: solo and section
// mutes, the pad channel, the thru transposition, "Replace One", received chord codes and
// the suppression of controllers.

#include <cstdint>

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::engine { struct EngineState; }

namespace chordella::chords {

class ChordRecogniser;
class InputLink;
struct KeyboardState;

// What ThruFilter answers for a message to be dropped.
inline constexpr int DropMessage = 255;

class ThruFilter {
public:
    ThruFilter(core::Session& session, KeyboardState& keyboard, const core::Options& options,
               const engine::EngineState& engineState, ChordRecogniser& recogniser, InputLink& peers)
        : session_(session),
          keyboard_(keyboard),
          options_(options),
          engineState_(engineState),
          recogniser_(recogniser),
          peers_(&peers) {}

    void SetPeers(InputLink& peers) { peers_ = &peers; }

    // Control thread. `kind` is the status with the channel masked off (0x80 … 0xE0),
    // `channel` 0 … 15. Answers the new data1, or DropMessage. A note the thru
    // transposition would move off the keyboard is dropped.
    int Filter(int kind, int channel, int data2, int data1);

private:
    core::Session& session_;
    KeyboardState& keyboard_;
    const core::Options& options_;
    const engine::EngineState& engineState_;
    ChordRecogniser& recogniser_;
    InputLink* peers_;
};

}  // namespace chordella::chords
