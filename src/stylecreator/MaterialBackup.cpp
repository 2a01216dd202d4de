#include "stylecreator/MaterialBackup.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace chordella::stylecreator {

namespace {

bool Allocate(std::vector<std::uint8_t>& buffer) {
    if (buffer.size() == static_cast<std::size_t>(data::WorkChunkCapacity)) return true;
    try {
        buffer.assign(data::WorkChunkCapacity, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::int32_t Chunk0Size(const data::CreatorWork& work) { return std::clamp(work.Chunks[0].Size, 0, data::WorkChunkCapacity); }

}  // namespace

bool SaveOriginal(const data::CreatorWork& work, CreatorState& state) {
    if (!work.Chunks[0].Buffer || !Allocate(state.StyleBackup)) return false;
    std::memcpy(state.StyleBackup.data(), work.Chunks[0].Buffer.get(), data::WorkChunkCapacity);
    state.BackupSize = Chunk0Size(work);
    return true;
}

void RestoreOriginalMaterial(data::CreatorWork& work, const CreatorState& state) {
    if (!work.Chunks[0].Buffer || state.StyleBackup.size() != static_cast<std::size_t>(data::WorkChunkCapacity)) return;
    std::memcpy(work.Chunks[0].Buffer.get(), state.StyleBackup.data(), data::WorkChunkCapacity);
    work.Chunks[0].Size = state.BackupSize;
}

OriginalInChunk0::OriginalInChunk0(data::CreatorWork& work, CreatorState& state) : work_(work), state_(state) {
    const bool backupReady = state.StyleBackup.size() == static_cast<std::size_t>(data::WorkChunkCapacity);
    if (!state.ConvertedFlag || !backupReady || !work.Chunks[0].Buffer) return;
    if (!Allocate(state.Scratch)) {
        ready_ = false;
        return;
    }
    std::memcpy(state.Scratch.data(), work.Chunks[0].Buffer.get(), data::WorkChunkCapacity);
    convertedSize_ = work.Chunks[0].Size;
    RestoreOriginalMaterial(work, state);
    swapped_ = true;
}

OriginalInChunk0::~OriginalInChunk0() {
    if (!swapped_) return;
    std::memcpy(work_.Chunks[0].Buffer.get(), state_.Scratch.data(), data::WorkChunkCapacity);
    work_.Chunks[0].Size = convertedSize_;
}

}  // namespace chordella::stylecreator
