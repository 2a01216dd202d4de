#include "engine/IntroStart.h"

#include "engine/Metronome.h"
#include "engine/TickLink.h"

namespace chordella::engine {

namespace {
constexpr std::int16_t AllChannelsPlay = 0;
constexpr std::int16_t NoChannelPlays = 100;
constexpr std::int16_t DrumsOnly = 10;
}  // namespace

void ApplyIntroStartMode(EngineState& engineState, const core::Options& options, TickLink& transport, int position) {
    std::int16_t& solo = engineState.SoloFilter;
    switch (static_cast<IntroStartMode>(options.IntroStartMode)) {
        case IntroStartMode::MuteAll:
            solo = NoChannelPlays;
            break;
        case IntroStartMode::Drums:
            solo = DrumsOnly;
            break;
        case IntroStartMode::DrumsLeadInMeasures:
            solo = position < 0 ? DrumsOnly : AllChannelsPlay;
            break;
        case IntroStartMode::Metronome:
            solo = NoChannelPlays;
            if (!options.Metronome) transport.MetronomeClick(LeadInClickLevel);
            break;
        case IntroStartMode::MuteNone:
        default:
            solo = AllChannelsPlay;
            break;
    }
}

void RestoreSoloSelector(EngineState& engineState, const core::Options& options) {
    const int selector = options.Solo;
    engineState.SoloFilter = static_cast<std::int16_t>(selector >= 1 && selector <= 16 ? selector : 0);
}

}  // namespace chordella::engine
