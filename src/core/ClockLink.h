#pragma once
// What the input side asks of the accompaniment clock (engine::Clock implements it): the
// clock button, the tempo field and the realtime bytes of slave mode.

#include <cstdint>

namespace chordella::core {

class ClockLink {
public:
    // Control thread. The tempo field changed to `bpm`.
    virtual void TempoFieldChanged(int bpm) = 0;
    // Control thread. The clock button: off → on, on → off.
    virtual void ToggleClock() = 0;
    // Control thread. A MIDI realtime byte received in slave mode.
    virtual void OnRealtimeByte(std::uint8_t byte) = 0;

protected:
    ~ClockLink() = default;
};

}  // namespace chordella::core
