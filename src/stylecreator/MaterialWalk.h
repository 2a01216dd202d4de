#pragma once
// Reading the creator's material in order, without timing: channel messages (three bytes,
// handed over in place so that a caller may rewrite their data bytes) and waits, across the
// chained chunks. Reading ends at 0x00, at a missing next chunk, and at any byte the stream
// grammar does not allow (a message cut off by its chunk's end, a stray data byte, 0xF1 …
// 0xF7), so damaged material can never take a reader outside a buffer.

#include <algorithm>
#include <cstdint>

#include "data/CreatorWork.h"
#include "data/StyleStream.h"

namespace chordella::stylecreator {

// `onMessage(std::uint8_t* message, data::WorkPosition at)` and `onWait(int ticks)` each return
// true to go on, false to stop reading.
template <typename OnMessage, typename OnWait>
void WalkMaterial(data::CreatorWork& work, OnMessage onMessage, OnWait onWait) {
    for (int chunk = 0; chunk < data::MaxWorkChunks; ++chunk) {
        data::WorkChunk& slot = work.Chunks[static_cast<std::size_t>(chunk)];
        if (!slot.Buffer || !slot.Present) return;
        std::uint8_t* bytes = slot.Buffer.get();
        const std::int32_t size = std::clamp(slot.Size, 0, data::WorkChunkCapacity);
        std::int32_t offset = 0;
        bool nextChunk = false;
        while (offset < size && !nextChunk) {
            const std::uint8_t byte = bytes[offset];
            if (data::stream::IsChannelMessage(byte)) {
                if (offset + 2 >= size || bytes[offset + 1] >= 0x80 || bytes[offset + 2] >= 0x80) return;
                if (!onMessage(bytes + offset, data::WorkPosition{chunk, offset})) return;
                offset += data::stream::MessageLength;
            } else if (data::stream::IsWait(byte)) {
                if (!onWait(data::stream::WaitTicks(byte))) return;
                ++offset;
            } else if (byte == data::stream::EndOfBuffer) {
                nextChunk = true;
            } else {
                return;  // 0x00 ends the stream; anything else is damage
            }
        }
        if (!nextChunk) return;
    }
}

}  // namespace chordella::stylecreator

namespace chordella::stylecreator {

// True when the material sounds at least one note (a note-on with velocity above 0).
inline bool MaterialHasNotes(data::CreatorWork& work) {
    bool found = false;
    WalkMaterial(
        work,
        [&](std::uint8_t* message, data::WorkPosition) {
            found = (message[0] & 0xF0) == 0x90 && message[2] > 0;
            return !found;
        },
        [](int) { return true; });
    return found;
}

}  // namespace chordella::stylecreator
