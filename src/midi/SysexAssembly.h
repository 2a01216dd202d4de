#pragma once
// Puts the system-exclusive messages an input delivers back together, so that only whole
// ones (F0 … F7) are passed on. A message longer than one of the input's buffers arrives in
// pieces: the first starts with F0, the last ends with F7. Whatever breaks that — a message
// cut short by a status byte or by the end of its event, a piece without a beginning —
// drops what was gathered: a message passed on without its end would leave the device that
// receives it waiting for the end, deaf to everything after it.
//
// Control thread. The buffer is allocated once, when the assembly is made.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace chordella::midi {

class SysexAssembly {
public:
    // The longest message one long output message carries.
    static constexpr std::size_t MaxLength = 0xFFFF;

    SysexAssembly();

    // One received piece. Answers the whole message when this piece completes one (valid
    // until the next call), else an empty span.
    std::span<const std::uint8_t> Add(std::span<const std::uint8_t> piece);
    // Any other message but a real-time byte arrived: a message still open was cut short.
    void Interrupt();

    // Pieces dropped so far because they belonged to no whole message.
    std::uint64_t Dropped() const { return dropped_; }

private:
    void Drop();

    std::vector<std::uint8_t> bytes_;
    std::size_t length_ = 0;
    bool open_ = false;
    std::uint64_t dropped_ = 0;
};

}  // namespace chordella::midi
