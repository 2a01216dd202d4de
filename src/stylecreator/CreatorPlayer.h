#pragma once
// Playing inside the creator. Song mode plays the material from its "Start with ..." position
// to the end of its "Stop at ..." measure and stops; Style mode loops the Style-mode range,
// and a range whose part is followed by a stop (an Ending) ends there instead. A start later
// than the material's beginning first sends the controller replay, so the sound matches the
// position. At every beat the playing measure and beat are kept for the window.
//
// Control thread; RangeBeat runs inside the tick.

#include <cstdint>

#include "core/Links.h"
#include "data/StyleModel.h"

namespace chordella::core { class Session; }

namespace chordella::stylecreator {

class StyleCreator;

class CreatorPlayer final : public core::RangeBeatLink {
public:
    CreatorPlayer(core::Session& session, StyleCreator& creator);
    ~CreatorPlayer() override;
    CreatorPlayer(const CreatorPlayer&) = delete;
    CreatorPlayer& operator=(const CreatorPlayer&) = delete;

    // Starts from the current mode's range; false when there is no work, the start lies
    // beyond the material, or the transport cannot play.
    bool Play();
    // True while the transport plays what Play started.
    bool Playing() const { return playing_; }
    // The playing measure and beat (the start position before the first beat).
    int Measure() const { return measure_; }
    int Beat() const { return beat_; }

    void RangeBeat() override;
    void RangeEnded() override { playing_ = false; }

private:
    core::Session& session_;
    StyleCreator& creator_;
    data::PartRecord range_;   // the range as a part: measures, start beat and follow-up code
    bool looping_ = false;
    bool playing_ = false;
    int measure_ = 1;
    int beat_ = 1;
};

}  // namespace chordella::stylecreator
