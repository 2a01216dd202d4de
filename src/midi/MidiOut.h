#pragma once
// What sends MIDI: the output ports, and in tests an output that records. The engine,
// the thru path and the chord-code sender talk to this.

#include <cstdint>

namespace chordella::midi {

class MidiOut {
public:
    virtual ~MidiOut() = default;
    // Control thread.
    virtual bool IsOpen() const = 0;
    // Sends a channel or system message (re-channelled where the port says so). A closed
    // port does nothing. Never throws, never allocates.
    virtual void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    // Sends status | data1 << 8 | data2 << 16 as it is.
    virtual void PutShortMsg(std::uint32_t packed) = 0;
};

}  // namespace chordella::midi
