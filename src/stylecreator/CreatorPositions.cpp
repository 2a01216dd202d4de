#include "stylecreator/CreatorPositions.h"

#include <algorithm>

#include "data/StyleStream.h"

namespace chordella::stylecreator {

namespace {

bool Readable(const data::CreatorWork& work, int chunk) {
    return chunk >= 0 && chunk < data::MaxWorkChunks && work.Chunks[chunk].Buffer && work.Chunks[chunk].Present;
}

std::int32_t ChunkSize(const data::CreatorWork& work, int chunk) {
    return std::clamp(work.Chunks[chunk].Size, 0, data::WorkChunkCapacity);
}

// Walks forward from `from` (with `used` ticks of the wait there already gone) until `ticks`
// more ticks have passed.
StreamSeek Walk(const data::CreatorWork& work, data::WorkPosition from, int used, std::int64_t ticks) {
    StreamSeek seek;
    data::WorkPosition at = from;
    if (ticks <= 0 && used == 0) {
        seek.At = at;
        seek.Reached = true;
        return seek;
    }
    while (Readable(work, at.Chunk)) {
        const std::uint8_t* bytes = work.Chunks[at.Chunk].Buffer.get();
        const std::int32_t size = ChunkSize(work, at.Chunk);
        while (at.Offset < size) {
            const std::uint8_t byte = bytes[at.Offset];
            if (byte == data::stream::EndOfStream) {
                seek.At = at;
                return seek;
            }
            if (byte == data::stream::EndOfBuffer) break;
            if (data::stream::IsWait(byte)) {
                const int left = data::stream::WaitTicks(byte) - used;
                used = 0;
                ++at.Offset;
                if (left >= ticks) {
                    seek.At = at;
                    seek.TicksToWait = static_cast<int>(left - ticks);
                    seek.Reached = true;
                    return seek;
                }
                ticks -= left;
                continue;
            }
            at.Offset += data::stream::IsChannelMessage(byte) ? data::stream::MessageLength : 1;
        }
        if (at.Offset < size) {  // 0xF0: reading goes on in the next chunk
            at = {at.Chunk + 1, 0};
            continue;
        }
        seek.At = {at.Chunk, size};
        return seek;
    }
    seek.At = at;
    return seek;
}

}  // namespace

int MeasurePosition(int measure, int beat, int measureUnits) {
    return measureUnits * (measure - 1) + data::FirstPosition + data::UnitsPerBeat * (beat - 1);
}

std::int64_t MeasureTick(int measure, int beat, int measureUnits) {
    return static_cast<std::int64_t>(TicksPerBeat) * (measureUnits / data::UnitsPerBeat) * (measure - 1) +
           static_cast<std::int64_t>(TicksPerBeat) * (beat - 1);
}

BeatIndex BuildBeatIndex(const data::CreatorWork& work) {
    BeatIndex index;
    if (!Readable(work, 0)) return index;
    index.push_back({0, 0, 0});  // tick 0: the start
    std::int64_t sum = 0;
    std::int64_t next = TicksPerBeat;  // the tick of the next entry
    for (int chunk = 0; Readable(work, chunk); ++chunk) {
        const std::uint8_t* bytes = work.Chunks[chunk].Buffer.get();
        const std::int32_t size = ChunkSize(work, chunk);
        std::int32_t offset = 0;
        while (offset < size) {
            const std::uint8_t byte = bytes[offset];
            if (byte == data::stream::EndOfStream) return index;
            if (byte == data::stream::EndOfBuffer) break;
            if (!data::stream::IsWait(byte)) {
                offset += data::stream::IsChannelMessage(byte) ? data::stream::MessageLength : 1;
                continue;
            }
            const int ticks = data::stream::WaitTicks(byte);
            for (; next < sum + ticks; next += TicksPerBeat)  // the beat falls inside this wait
                index.push_back({static_cast<std::uint32_t>(offset), static_cast<std::uint8_t>(chunk),
                                 static_cast<std::uint8_t>(next - sum)});
            sum += ticks;
            ++offset;
            if (next == sum) {  // the wait ends on the beat
                index.push_back({static_cast<std::uint32_t>(offset), static_cast<std::uint8_t>(chunk), 0});
                next += TicksPerBeat;
            }
        }
        if (offset >= size) return index;
    }
    return index;
}

StreamSeek SeekTick(const data::CreatorWork& work, std::int64_t tick, const BeatIndex* index) {
    if (tick <= 0) return Walk(work, {}, 0, 0);
    if (index && !index->empty()) {
        // The entry before the tick, so that a tick on a beat still ends right after its wait.
        const std::int64_t entry = std::min<std::int64_t>((tick - 1) / TicksPerBeat,
                                                          static_cast<std::int64_t>(index->size()) - 1);
        const BeatIndexEntry& e = (*index)[static_cast<std::size_t>(entry)];
        return Walk(work, {e.Chunk, static_cast<std::int32_t>(e.Offset)}, e.TicksUsed, tick - entry * TicksPerBeat);
    }
    return Walk(work, {}, 0, tick);
}

std::int64_t TickAt(const data::CreatorWork& work, data::WorkPosition at) {
    std::int64_t ticks = 0;
    for (int chunk = 0; chunk <= at.Chunk && Readable(work, chunk); ++chunk) {
        const std::uint8_t* bytes = work.Chunks[chunk].Buffer.get();
        const std::int32_t size = ChunkSize(work, chunk);
        const std::int32_t end = chunk == at.Chunk ? std::min(at.Offset, size) : size;
        for (std::int32_t offset = 0; offset < end;) {
            const std::uint8_t byte = bytes[offset];
            if (byte == data::stream::EndOfStream) return ticks;
            if (byte == data::stream::EndOfBuffer) break;
            if (data::stream::IsWait(byte)) ticks += data::stream::WaitTicks(byte);
            offset += data::stream::IsChannelMessage(byte) ? data::stream::MessageLength : 1;
        }
    }
    return ticks;
}

std::uint32_t Chunk0Offset(const data::CreatorWork& work, int measure, int beat, int measureUnits,
                           const BeatIndex* index) {
    const StreamSeek seek = SeekTick(work, MeasureTick(measure, beat, measureUnits), index);
    if (!seek.Reached || seek.At.Chunk != 0 || seek.At.Offset == 0) return NoStreamOffset;
    return static_cast<std::uint32_t>(seek.At.Offset);
}

int MeasuresInChunk0(const data::CreatorWork& work, int measureUnits) {
    if (!Readable(work, 0)) return 0;
    std::int64_t ticks = 0;
    const std::uint8_t* bytes = work.Chunks[0].Buffer.get();
    const std::int32_t size = ChunkSize(work, 0);
    for (std::int32_t offset = 0; offset < size;) {
        const std::uint8_t byte = bytes[offset];
        if (byte == data::stream::EndOfStream || byte == data::stream::EndOfBuffer) break;
        if (data::stream::IsWait(byte)) ticks += data::stream::WaitTicks(byte);
        offset += data::stream::IsChannelMessage(byte) ? data::stream::MessageLength : 1;
    }
    const std::int64_t measureTicks = static_cast<std::int64_t>(TicksPerBeat) * std::max(1, measureUnits / 4);
    return static_cast<int>(ticks / measureTicks);
}

}  // namespace chordella::stylecreator
