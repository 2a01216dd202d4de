#include "stylecreator/HeadlessCreatorHost.h"

#include <algorithm>

#include "stylecreator/CreatorPositions.h"

namespace chordella::stylecreator {

std::span<std::uint8_t> HeadlessCreatorHost::Material() {
    data::WorkChunk& chunk = session_.Style().Work.Chunks[0];
    if (!chunk.Buffer) return {};
    return {chunk.Buffer.get(), static_cast<std::size_t>(std::clamp(chunk.Size, 0, data::WorkChunkCapacity))};
}

int HeadlessCreatorHost::MeasureUnits() { return std::max<int>(4, clockState_.MeasureUnits); }

int HeadlessCreatorHost::MeasuresAvailable() { return MeasuresInChunk0(session_.Style().Work, MeasureUnits()); }

}  // namespace chordella::stylecreator
