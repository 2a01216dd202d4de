#pragma once
// What the built-in synth's channels were set to: bank and program, every controller sent
// (but the channel-mode messages), the pitch-bend range and tuning (registered parameters
// 0 … 2), pitch bend and channel pressure. When the synth is made
// anew (another audio driver, another SoundFont) the new one is set up the same way, so the
// style and the mixer sound as before without being sent again. A system reset (GM, GS or XG
// on, or 0xFF) forgets everything, as the synthesizer does.
//
// Control thread.

#include <array>
#include <cstdint>
#include <functional>
#include <span>

namespace chordella::midi {

class ChannelMirror {
public:
    ChannelMirror() { Forget(); }

    // Notes what a message sent to the synth sets.
    void Note(std::span<const std::uint8_t> message);
    // Sends what the channels were set to: per channel the bank, then the program, then
    // the other controllers in their order, then pitch bend and pressure.
    void Replay(const std::function<void(std::span<const std::uint8_t>)>& send) const;
    void Forget();

private:
    static constexpr std::int16_t Unset = -1;
    struct Channel {
        std::array<std::int16_t, 120> Controllers;  // 120 … 127 are channel-mode messages
        std::array<std::int16_t, 3> ParameterMsb;   // registered parameters 0 … 2
        std::array<std::int16_t, 3> ParameterLsb;
        std::int16_t Program;
        std::int16_t Pressure;
        std::int32_t Bend;
    };
    std::array<Channel, 16> channels_;
};

}  // namespace chordella::midi
