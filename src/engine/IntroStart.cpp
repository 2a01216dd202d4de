#include "engine/IntroStart.h"

#include "core/Session.h"
#include "engine/Metronome.h"

namespace chordella::engine {

namespace {
constexpr std::int16_t AllChannelsPlay = 0;
constexpr std::int16_t NoChannelPlays = 100;
constexpr std::int16_t DrumsOnly = 10;
}  // namespace

void ApplyIntroStartMode(core::Session& session, int position) {
    const core::Options& options = session.App().options;
    std::int16_t& solo = session.App().engine.SoloFilter;
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
            if (!options.Metronome) MetronomeClick(session, LeadInClickLevel);
            break;
        case IntroStartMode::MuteNone:
        default:
            solo = AllChannelsPlay;
            break;
    }
}

void RestoreSoloSelector(core::Session& session) {
    const int selector = session.App().options.Solo;
    session.App().engine.SoloFilter = static_cast<std::int16_t>(selector >= 1 && selector <= 16 ? selector : 0);
}

}  // namespace chordella::engine
