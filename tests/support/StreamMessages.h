#pragma once
// The channel messages of a style event stream with the tick each one plays at: what the
// MIDI import wrote, in a form a test can compare with what the engine sent.

#include <cstdint>
#include <span>
#include <vector>

#include "data/StyleStream.h"

namespace chordella::testing {

struct StreamMessage {
    std::int64_t Tick = 0;
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
    bool operator==(const StreamMessage&) const = default;
};

inline std::vector<StreamMessage> StreamMessagesOf(std::span<const std::uint8_t> stream) {
    std::vector<StreamMessage> messages;
    std::int64_t tick = 0;
    for (std::size_t pos = 0; pos < stream.size();) {
        const std::uint8_t b = stream[pos];
        if (b == data::stream::EndOfStream || b == data::stream::EndOfBuffer) break;
        if (data::stream::IsWait(b)) {
            tick += data::stream::WaitTicks(b);
            ++pos;
        } else if (data::stream::IsChannelMessage(b) && pos + 2 < stream.size()) {
            messages.push_back({tick, b, stream[pos + 1], stream[pos + 2]});
            pos += 3;
        } else {
            ++pos;
        }
    }
    return messages;
}

}  // namespace chordella::testing
