#include "stylecreator/CreatorHost.h"

#include <algorithm>
#include <cstring>

#include "stylecreator/CreatorPlayer.h"

namespace chordella::stylecreator {

std::span<std::uint8_t> CreatorHost::Material() {
    data::WorkChunk& chunk = creator_.Session().Style().Work.Chunks[0];
    if (!chunk.Buffer) return {};
    return {chunk.Buffer.get(), static_cast<std::size_t>(std::clamp(chunk.Size, 0, data::WorkChunkCapacity))};
}

int CreatorHost::MeasuresAvailable() { return MeasuresInChunk0(creator_.Session().Style().Work, MeasureUnits()); }

bool CreatorHost::CreatorPlaying() { return creator_.Session().Transport().StyleStarted(); }

void CreatorHost::StopPlayback() { creator_.Session().Transport().Stop(); }

void CreatorHost::StartPlayback() {
    if (player_ != nullptr) {
        player_->Play();
        return;
    }
    core::Session& session = creator_.Session();
    MirrorMaterialToStyle(session.Style().Work, session.Style().style);
    session.Transport().StartStyle();
}

void CreatorHost::ShowStatus(const std::string& text) { creator_.Session().Display().ShowStatus(text); }

void MirrorMaterialToStyle(const data::CreatorWork& work, data::StyleState& style) {
    const std::span<const std::uint8_t> material = data::FirstChunkMaterial(work);
    if (work.WorkLength <= 0 || material.empty()) return;
    if (!style.Stream.Allocate()) return;
    std::uint8_t* stream = style.StreamBytes();
    std::memcpy(stream, material.data(), material.size());
    std::memset(stream + material.size(), 0, static_cast<std::size_t>(data::StreamCapacity) - material.size());
    style.StyleLength = static_cast<std::int32_t>(material.size());
}

}  // namespace chordella::stylecreator
