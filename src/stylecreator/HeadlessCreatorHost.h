#pragma once
// The creator's host where nothing plays (the command line, batch runs, fuzzing): the material
// is chunk 0 of the session's work, the meter the clock's, playback requests are counted and
// the status line is kept for a report.

#include <string>

#include "core/Session.h"
#include "engine/ClockState.h"
#include "stylecreator/CreatorHostLink.h"

namespace chordella::stylecreator {

class HeadlessCreatorHost final : public CreatorHostLink {
public:
    // The meter is `clockState`'s.
    HeadlessCreatorHost(core::Session& session, const engine::ClockState& clockState)
        : session_(session), clockState_(clockState) {}
    std::span<std::uint8_t> Material() override;
    int MeasureUnits() override;
    int MeasuresAvailable() override;
    bool CreatorPlaying() override { return false; }
    void StopPlayback() override { ++stops; }
    void StartPlayback() override { ++starts; }
    void ShowStatus(const std::string& text) override { status = text; }

    std::string status;
    int starts = 0;
    int stops = 0;

private:
    core::Session& session_;
    const engine::ClockState& clockState_;
};

}  // namespace chordella::stylecreator
