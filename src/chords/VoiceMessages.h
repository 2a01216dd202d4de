#pragma once
// Notes and controllers entered by hand (chord pads, computer keys, the on-screen keyboard,
// the mixer) leave through one sender; human velocities colour the notes of computer keys.

#include <cstdint>

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::engine { struct MelodyState; }
namespace chordella::platform {
class Random;
}

namespace chordella::chords {

class InputLink;

// Control thread. A channel message entered by hand:
// 1. recorded into the melody track when it records and the message is on its channel
//    (through `peers` when they record, else through the session's melody link);
// 2. control changes, program changes and channel pressure update the controller table;
// 3. with " Send Chord Codes ..." on, anything but note-on and poly pressure goes to
//    MidiOutput1 and MidiOutput2 (each when open); otherwise it goes to the main output
//    when open.
// A status outside 0x80 … 0xEF or data above 127 is ignored.
void SendVoiceMessage(core::Session& session, const engine::MelodyState& melodyState, const core::Options& options,
                      InputLink* peers, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

// Control thread. A velocity near `base` with a player's unevenness: r uniform in 0 … 20;
// base − r for r < 16, base + (r − 10) for r ≥ 16; always within 1 … 127 (a soft base
// stays soft instead of wrapping round to the loudest).
int HumanVelocity(platform::Random& random, int base);

}  // namespace chordella::chords
