#include "data/CreatorWork.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace chordella::data {

std::string SectionMarker::DisplayText() const {
    return Text + " : " + std::to_string(StartMeasure) + " - " + std::to_string(EndMeasure);
}

bool EnsureWorkChunks(CreatorWork& work, int count) {
    count = std::min(count, MaxWorkChunks);
    for (int index = 0; index < count; ++index) {
        WorkChunk& chunk = work.Chunks[index];
        if (chunk.Buffer) continue;
        chunk.Buffer.reset(new (std::nothrow) std::uint8_t[WorkChunkCapacity]);
        if (!chunk.Buffer) return false;
        std::memset(chunk.Buffer.get(), 0, WorkChunkCapacity);
    }
    return true;
}

void ClearWorkMaterial(CreatorWork& work) {
    for (WorkChunk& chunk : work.Chunks) {
        if (chunk.Buffer) std::memset(chunk.Buffer.get(), 0, WorkChunkCapacity);
        chunk.Size = 0;
        chunk.Present = false;
        chunk.LengthUnits = 0;
    }
    work.Chunks[0].Present = work.Chunks[0].Buffer != nullptr;
    work.WorkLength = 0;
    work.WorkLengthUnits = 0;
    work.Position = FirstPosition;
}

std::span<const std::uint8_t> FirstChunkMaterial(const CreatorWork& work) {
    const WorkChunk& chunk = work.Chunks[0];
    if (!chunk.Buffer) return {};
    return {chunk.Buffer.get(), static_cast<std::size_t>(std::clamp(chunk.Size, 0, WorkChunkCapacity))};
}

namespace {

// Walks the material byte by byte; `visit(position, byte)` answers true to stop there.
template <typename Visit>
WorkPosition Walk(const CreatorWork& work, Visit visit) {
    for (int chunkIndex = 0; chunkIndex < MaxWorkChunks; ++chunkIndex) {
        const WorkChunk& chunk = work.Chunks[chunkIndex];
        if (!chunk.Buffer || !chunk.Present) return {chunkIndex, 0};
        const std::int32_t size = std::clamp(chunk.Size, 0, WorkChunkCapacity);
        std::int32_t offset = 0;
        while (offset < size) {
            const std::uint8_t byte = chunk.Buffer[offset];
            if (byte == 0x00) return {chunkIndex, offset};
            if (visit(WorkPosition{chunkIndex, offset}, byte)) return {chunkIndex, offset + 1};
            if (byte == 0xF0) break;
            offset += byte >= 0x80 && byte <= 0xEF ? 3 : 1;
        }
        if (offset < size) continue;  // 0xF0: on to the next chunk
        return {chunkIndex, std::min(offset, size)};
    }
    return {MaxWorkChunks - 1, std::clamp(work.Chunks[MaxWorkChunks - 1].Size, 0, WorkChunkCapacity)};
}

}  // namespace

WorkPosition PositionAfterTick(const CreatorWork& work, std::int64_t tick) {
    if (tick <= 0) return {};
    std::int64_t sum = 0;
    return Walk(work, [&](WorkPosition, std::uint8_t byte) {
        if (byte >= 0xF8) sum += byte - 247;
        return sum >= tick;
    });
}

WorkPosition EndOfMaterial(const CreatorWork& work) {
    return Walk(work, [](WorkPosition, std::uint8_t) { return false; });
}

std::int64_t MaterialTicks(const CreatorWork& work) {
    std::int64_t sum = 0;
    Walk(work, [&](WorkPosition, std::uint8_t byte) {
        if (byte >= 0xF8) sum += byte - 247;
        return false;
    });
    return sum;
}

}  // namespace chordella::data
