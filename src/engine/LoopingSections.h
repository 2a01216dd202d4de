#pragma once
// The section logic the engine uses until a full transport is attached: it plays one part
// of the style and loops it, releasing the notes of each finished pass; a stop halts the
// player and releases everything. Offline rendering, the fuzz target and the tests play
// styles with it.

#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "core/Options.h"
#include "engine/TickLink.h"

namespace chordella::core { class Session; }

namespace chordella::engine {

class LoopingSections final : public TickLink {
public:
    LoopingSections(core::Session& session, EngineState& engineState, ClockState& clockState,
                    const core::Options& options)
        : session_(session), engineState_(engineState), clockState_(clockState), options_(options) {}

    // Control thread. Starts part `part` (0 … 7) of the loaded style: its loop range, its
    // channel mutes, reading from its start at the next tick. False, and nothing changes,
    // when the part is absent or its range does not lie inside the loaded stream.
    bool PlayPart(int part);

    void ApplyCommandKey() override;
    void SectionStep() override;
    void StopTransport() override;

private:
    core::Session& session_;
    EngineState& engineState_;
    ClockState& clockState_;
    const core::Options& options_;
};

}  // namespace chordella::engine
