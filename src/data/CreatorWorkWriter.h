#pragma once
// Appends stream bytes to the creator's work from a starting place on, chaining into the
// next chunk when one is full: the chunk is closed with 0xF0 and writing continues at the
// start of the next. A message is never split across chunks, and each chunk keeps room for
// its closing byte. Without a work the writer only counts, so a whole import can be tried
// before anything is changed.

#include <cstdint>

#include "data/CreatorWork.h"

namespace chordella::data {

class CreatorWorkWriter {
public:
    // work == nullptr: count only. The chunks the writing reaches must exist
    // (EnsureWorkChunks) before a real writer reaches them; a missing one ends the writing.
    CreatorWorkWriter(CreatorWork* work, WorkPosition start) : work_(work), at_(start) {}

    // A three-byte channel message. False when the chunks are exhausted.
    bool Message(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // One tick of waiting: merged into the last byte written when that is a wait of fewer
    // than 8 ticks, else a new 0xF8 — only when `mayAddNew`. Answers whether a new wait byte
    // was written; `Full()` tells when the chunks are exhausted.
    bool Wait(bool mayAddNew);
    // `ticks` one-tick waits in a row, as Wait(true) would write them (full waits of 8
    // ticks, a shorter one last). Answers the ticks written: fewer only when Full().
    std::int64_t Waits(std::int64_t ticks);
    // True when a one-tick wait would merge into the last byte written.
    bool CanMerge() const { return hasLast_ && last_ >= 0xF8 && last_ < 0xFF; }
    // Ends the material with 0x00 and records chunk sizes and lengths in the work.
    void Finish();

    bool Full() const { return full_; }
    WorkPosition Position() const { return at_; }
    int ChunksReached() const { return at_.Chunk + 1; }
    std::int64_t BytesWritten() const { return written_; }

private:
    bool MakeRoom(int count);
    void Put(std::uint8_t byte);

    CreatorWork* work_;
    WorkPosition at_;
    WorkPosition lastAt_{};
    std::uint8_t last_ = 0;
    bool hasLast_ = false;
    bool full_ = false;
    std::int64_t written_ = 0;
    std::int64_t ticksInChunk_ = 0;
};

}  // namespace chordella::data
