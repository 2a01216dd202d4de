#pragma once
// The copy of the unconverted material (StyleBackup) and the scratch buffer chunk 0 waits in
// while chords are found from that copy. Both buffers are made on first use and reused.

#include "data/CreatorWork.h"
#include "stylecreator/CreatorState.h"

namespace chordella::stylecreator {

// Chunk 0 into StyleBackup. False when memory is short (nothing changed then).
bool SaveOriginal(const data::CreatorWork& work, CreatorState& state);
// StyleBackup over chunk 0 (nothing without a backup).
void RestoreOriginalMaterial(data::CreatorWork& work, const CreatorState& state);

// While it lives, chunk 0 holds the unconverted material when the material was converted;
// the converted material comes back when it ends.
class OriginalInChunk0 {
public:
    OriginalInChunk0(data::CreatorWork& work, CreatorState& state);
    ~OriginalInChunk0();
    OriginalInChunk0(const OriginalInChunk0&) = delete;
    OriginalInChunk0& operator=(const OriginalInChunk0&) = delete;
    // False when the scratch buffer could not be made (chunk 0 is then unchanged).
    bool Ready() const { return ready_; }

private:
    data::CreatorWork& work_;
    CreatorState& state_;
    bool swapped_ = false;
    bool ready_ = true;
    std::int32_t convertedSize_ = 0;
};

}  // namespace chordella::stylecreator
