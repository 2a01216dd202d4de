#pragma once
// The style event stream: three-byte channel messages, one-byte waits of 1 … 8 ticks, 0xF0
// at the end of a buffer (continue in the next chained buffer) and 0x00 at the end of the
// stream. The stream lives in buffers of 165500 bytes, allocated once and reused; a loaded
// style always lies in the first one, the style creator may chain up to seven.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "data/StyleModel.h"

namespace chordella::data {

namespace stream {
inline constexpr std::uint8_t EndOfStream = 0x00;
inline constexpr std::uint8_t EndOfBuffer = 0xF0;
inline constexpr std::uint8_t ShortestWait = 0xF8;  // 1 tick
inline constexpr std::uint8_t LongestWait = 0xFF;   // 8 ticks
inline constexpr int MessageLength = 3;             // status and two data bytes, always

constexpr bool IsChannelMessage(std::uint8_t b) { return b >= 0x80 && b <= 0xEF; }
constexpr bool IsWait(std::uint8_t b) { return b >= ShortestWait; }
// 1 … 8 ticks for a wait byte.
constexpr int WaitTicks(std::uint8_t b) { return b - 247; }
// The wait byte for 1 … 8 ticks.
constexpr std::uint8_t WaitByte(int ticks) { return static_cast<std::uint8_t>(247 + ticks); }

// Calls `onMessage(offset)` for each whole channel message that starts in [begin, end), up to
// the end of the stream or of its buffer. The stream is read from its start, so that data
// bytes are never taken for status bytes.
template <typename Stream, typename OnMessage>
void ForEachMessageIn(const Stream& bytes, std::size_t begin, std::size_t end, OnMessage onMessage) {
    for (std::size_t at = 0; at < std::min(end, bytes.size());) {
        const std::uint8_t b = bytes[at];
        if (b == EndOfStream || b == EndOfBuffer) break;
        if (!IsChannelMessage(b)) {
            ++at;
            continue;
        }
        if (at + 2 >= bytes.size()) break;
        if (at >= begin) onMessage(at);
        at += MessageLength;
    }
}
}  // namespace stream

// Up to seven stream buffers of StreamCapacity bytes each. Buffer 0 is made by Allocate();
// the style creator chains more with AddBuffer(). Once made, a buffer is never freed or moved,
// so a pointer into it stays valid for the life of the chain.
class StreamChain {
public:
    // Control thread. Makes buffer 0 (zero-filled) if it does not exist yet. False when
    // memory is short; then nothing changes.
    bool Allocate();
    bool Allocated() const { return buffers_[0] != nullptr; }
    // Control thread. Chains one more zero-filled buffer; false when seven exist or memory is short.
    bool AddBuffer();
    int BufferCount() const;

    // Any thread that owns the style (control thread). nullptr when the buffer does not exist.
    std::uint8_t* Buffer(int index);
    const std::uint8_t* Buffer(int index) const;
    // The first buffer as a span of StreamCapacity bytes (empty before Allocate()).
    std::span<std::uint8_t> First();
    std::span<const std::uint8_t> First() const;

private:
    std::array<std::unique_ptr<std::uint8_t[]>, MaxStreamBuffers> buffers_;
};

}  // namespace chordella::data
