#include "data/CreatorWorkWriter.h"

#include <algorithm>

namespace chordella::data {

void CreatorWorkWriter::Put(std::uint8_t byte) {
    if (work_) work_->Chunks[at_.Chunk].Buffer[at_.Offset] = byte;
    lastAt_ = at_;
    last_ = byte;
    hasLast_ = true;
    ++at_.Offset;
    ++written_;
}

bool CreatorWorkWriter::MakeRoom(int count) {
    if (full_) return false;
    if (work_ && !work_->Chunks[at_.Chunk].Buffer) {
        full_ = true;
        return false;
    }
    // One byte stays free in every chunk for its closing 0xF0 or the final 0x00.
    if (at_.Offset + count <= WorkChunkCapacity - 1) return true;
    if (at_.Chunk + 1 >= MaxWorkChunks || (work_ && !work_->Chunks[at_.Chunk + 1].Buffer)) {
        full_ = true;
        return false;
    }
    Put(0xF0);
    if (work_) {
        WorkChunk& closed = work_->Chunks[at_.Chunk];
        closed.Size = at_.Offset;
        closed.Present = true;
        closed.LengthUnits += static_cast<std::int32_t>(ticksInChunk_ * UnitsPerBeat / 24);
    }
    ticksInChunk_ = 0;
    at_ = WorkPosition{at_.Chunk + 1, 0};
    return true;
}

bool CreatorWorkWriter::Message(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (!MakeRoom(3)) return false;
    Put(status);
    Put(data1);
    Put(data2);
    return true;
}

bool CreatorWorkWriter::Wait(bool mayAddNew) {
    if (full_) return false;
    if (CanMerge()) {
        ++last_;
        if (work_) work_->Chunks[lastAt_.Chunk].Buffer[lastAt_.Offset] = last_;
        ++ticksInChunk_;
        return false;
    }
    if (!mayAddNew || !MakeRoom(1)) return false;
    Put(0xF8);
    ++ticksInChunk_;
    return true;
}

std::int64_t CreatorWorkWriter::Waits(std::int64_t ticks) {
    std::int64_t written = 0;
    while (written < ticks && CanMerge()) {  // first fill up the last wait
        Wait(true);
        ++written;
    }
    while (written < ticks && MakeRoom(1)) {
        const auto chunkTicks = static_cast<int>(std::min<std::int64_t>(ticks - written, 8));
        Put(static_cast<std::uint8_t>(0xF7 + chunkTicks));
        ticksInChunk_ += chunkTicks;
        written += chunkTicks;
    }
    return written;
}

void CreatorWorkWriter::Finish() {
    if (!work_ || !work_->Chunks[at_.Chunk].Buffer) return;
    WorkChunk& chunk = work_->Chunks[at_.Chunk];
    chunk.Buffer[at_.Offset] = 0x00;
    chunk.Size = at_.Offset;
    chunk.Present = true;
    chunk.LengthUnits += static_cast<std::int32_t>(ticksInChunk_ * UnitsPerBeat / 24);
}

}  // namespace chordella::data
