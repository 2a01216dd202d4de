#pragma once
// The creator's commands over the real session: the material is chunk 0 of the work, its
// playback the transport's. Before the style player starts, the style's stream is brought
// up to date with the material, so what plays is what was shaped.

#include "stylecreator/CreatorHostLink.h"
#include "stylecreator/StyleCreator.h"

namespace chordella::stylecreator {

class CreatorPlayer;

class CreatorHost final : public CreatorHostLink {
public:
    explicit CreatorHost(StyleCreator& creator) : creator_(creator) {}
    // With a player, starting playback plays the creator's range (Song or Style mode);
    // without one the style starts as the main window starts it.
    void UsePlayer(CreatorPlayer* player) { player_ = player; }

    std::span<std::uint8_t> Material() override;
    int MeasureUnits() override { return creator_.MeasureUnits(); }
    int MeasuresAvailable() override;
    bool CreatorPlaying() override;
    void StopPlayback() override;
    void StartPlayback() override;
    void ShowStatus(const std::string& text) override;

private:
    StyleCreator& creator_;
    CreatorPlayer* player_ = nullptr;
};

// Copies the material of chunk 0 into the style's stream (StyleLength = its size). Nothing
// happens without a work, so a style loaded on its own stays as it is.
void MirrorMaterialToStyle(const data::CreatorWork& work, data::StyleState& style);

}  // namespace chordella::stylecreator
