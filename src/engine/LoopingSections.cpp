#include "engine/LoopingSections.h"

#include "core/Session.h"
#include "engine/ChordChange.h"
#include "engine/Outputs.h"

namespace chordella::engine {

bool LoopingSections::PlayPart(int part) {
    const data::StyleState& style = LoadedStyle(session_);
    if (part < 0 || part >= data::PartCount || style.StreamBytes() == nullptr) return false;
    const data::PartRecord& record = style.Parts[static_cast<std::size_t>(part)];
    if (!record.Present() || record.RangeStart < 0 || record.RangeStart > record.RangeEnd ||
        record.RangeEnd > style.StyleLength) {
        return false;
    }
    StylePlayerState& player = session_.Style().player;
    player.CurrentSection = static_cast<std::int16_t>(part);
    player.BufferIndex = 0;
    player.LoopStart = record.RangeStart;
    player.LoopEnd = record.RangeEnd;
    player.PlayEnd = style.StyleLength;
    player.StylePos = record.RangeEnd + SectionSwitchMarker;
    player.WaitTicks = 0;
    player.StopAtNextTick = 0;
    player.SectionJustChanged = 1;
    player.StyleBeat = 0;
    player.StyleActive = 1;
    engineState_.ChannelMute = record.PartMute;
    // The next tick starts a beat, so the section step picks the part up at once.
    clockState_.TickInBeat = 0;
    return true;
}

void LoopingSections::ApplyCommandKey() {
    EngineState& e = engineState_;
    e.PendingCommandKey = 0;
    e.PendingCommandValue = 0;
}

void LoopingSections::SectionStep() {
    StylePlayerState& player = session_.Style().player;
    if (player.BufferIndex == 0 && player.StylePos >= player.LoopEnd) {
        const bool realEnd = player.StylePos < player.LoopEnd + SectionSwitchMarker;
        if (realEnd) player.SectionJustChanged = 0;
        if (player.LoopStart < player.LoopEnd) {
            if (realEnd) {
                const EngineState& e = engineState_;
                ChordChange(session_, engineState_, options_, AllChannels, e.StyleRoot, e.StyleType, true, false);
            }
            player.StylePos = player.LoopStart;
        }
    }
    const int measureUnits = clockState_.MeasureUnits;
    const int beatsPerMeasure = measureUnits >= 8 ? measureUnits / 4 : 1;
    player.StyleBeat = static_cast<std::int16_t>((player.StyleBeat + 1) % beatsPerMeasure);
}

void LoopingSections::StopTransport() {
    StylePlayerState& player = session_.Style().player;
    if (player.StyleActive == 0) return;
    player.StyleActive = 0;
    const EngineState& e = engineState_;
    ChordChange(session_, engineState_, options_, AllChannels, e.StyleRoot, e.StyleType, true, false);
}

}  // namespace chordella::engine
