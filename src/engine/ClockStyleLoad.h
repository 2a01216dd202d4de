#pragma once
// The clock's and the engine's part in loading a style: playback stops before the style is
// replaced; the tempo field takes the style's tempo ("Tempo Detection"); the chord grid
// follows the style's quarter- or eighth-note meter and the meter its measure length; the
// compressor/limiter ceilings start again from their defaults.

#include "core/Options.h"
#include "data/StyleLoadLink.h"

namespace chordella::core { class Session; }

namespace chordella::engine {

class AccompanimentEngine;
class Clock;

class ClockStyleLoad final : public data::StyleLoadLink {
public:
    ClockStyleLoad(Clock& clock, AccompanimentEngine& engine, core::Session& session, const core::Options& options)
        : clock_(clock), engine_(engine), session_(session), options_(options) {}

    // Control thread, while a style loads.
    void BeforeLoad() override;
    void ApplyHeader(const data::StyleHeader& header, const data::StyleMeterChoice& meter) override;
    void AfterLoad() override;

    // Steps the clock has no part in.
    bool RecordingRuns() override { return false; }
    void ConfirmReplace(bool, std::function<void(bool)> then) override { then(true); }
    int MapProgram(int program) override { return program; }
    bool Sc55InstrumentSet() override { return false; }
    bool IntroEnabled() override { return false; }
    void AfterReset() override {}
    bool ConvertForeignStyle(const std::string&) override { return false; }

private:
    Clock& clock_;
    AccompanimentEngine& engine_;
    core::Session& session_;
    const core::Options& options_;
};

}  // namespace chordella::engine
