#include "stylecreator/CreatorPlayer.h"

#include <algorithm>
#include <span>

#include "core/Session.h"
#include "data/StyleAnalysis.h"
#include "stylecreator/CreatorHost.h"
#include "stylecreator/CreatorPlayback.h"
#include "stylecreator/CreatorPositions.h"
#include "stylecreator/StyleCreator.h"

namespace chordella::stylecreator {

namespace {

std::span<const std::uint8_t> PlayingStream(const data::StyleState& style) {
    const std::uint8_t* bytes = style.StreamBytes();
    if (bytes == nullptr || style.StyleLength <= 0) return {};
    return {bytes, static_cast<std::size_t>(std::min(style.StyleLength, data::StreamCapacity))};
}

}  // namespace

CreatorPlayer::CreatorPlayer(core::Session& session, StyleCreator& creator) : session_(session), creator_(creator) {}

CreatorPlayer::~CreatorPlayer() {
    // The transport must not tell a player that is gone.
    if (playing_) session_.Transport().Stop();
}

bool CreatorPlayer::Play() {
    playing_ = false;
    if (!creator_.HasWork()) return false;
    core::StyleContainer& container = session_.Style();
    session_.Transport().Stop();
    MirrorMaterialToStyle(container.Work, container.style);
    const std::span<const std::uint8_t> stream = PlayingStream(container.style);
    const CreatorState& state = creator_.State();
    const MeasureRange& fields = state.Mode == CreatorMode::Style ? state.StyleRange : state.SongRange;
    const int units = creator_.MeasureUnits();
    const auto meter = static_cast<std::int16_t>(units);
    const int start = std::clamp(fields.StartMeasure, 1, MaxStopMeasure);
    const int beat = std::clamp(fields.StartBeat, 1, std::max(1, units / data::UnitsPerBeat));
    const std::int32_t from = data::PositionToOffset(stream, meter, start, beat) + 1;
    if (from < 0) return false;  // the material ends before the start
    std::int32_t to = static_cast<std::int32_t>(stream.size());
    if (fields.StopMeasure > 0) {
        const std::int32_t stop = data::PositionToOffset(stream, meter, std::max(fields.StopMeasure, start) + 1, 1);
        if (stop >= 0) to = stop + 1;
    }
    if (from > 0) {
        SendMessages(session_.AccompanimentOutput(),
                     ControllerReplay(stream, from, container.style.Header.ChannelUsed));
    }

    looping_ = state.Mode == CreatorMode::Style;
    const int lastMeasure = fields.StopMeasure > 0 ? std::max(fields.StopMeasure, start)
                                                   : std::max(start, data::OffsetToPosition(stream, meter, to).Measure - 1);
    range_ = data::PartRecord{};
    range_.StartMeasure = static_cast<std::int16_t>(start);
    range_.EndMeasure = static_cast<std::int16_t>(lastMeasure);
    range_.StartBeat = static_cast<std::int16_t>(beat);
    range_.FollowUpCode =
        container.style.Parts[static_cast<std::size_t>(std::clamp(state.SelectedPart, 0, data::PartCount - 1))].FollowUpCode;
    measure_ = start;
    beat_ = beat;
    playing_ = session_.Transport().PlayRange(from, to, looping_, *this);
    return playing_;
}

void CreatorPlayer::RangeBeat() {
    core::StyleContainer& container = session_.Style();
    engine::StylePlayerState& player = container.player;
    const int units = creator_.MeasureUnits();
    const auto meter = static_cast<std::int16_t>(units);
    // The tick now playing: the waits before the reading position, less what is still to
    // wait of the last one.
    const data::StreamPosition at = data::OffsetToPosition(PlayingStream(container.style), meter, player.StylePos);
    const std::int64_t measureTicks = static_cast<std::int64_t>(units / data::UnitsPerBeat) * TicksPerBeat;
    const std::int64_t now = std::max<std::int64_t>(
        0, data::PositionTicks(meter, at.Measure, at.Beat) + at.Tick - std::max<std::int16_t>(player.WaitTicks, 0));
    measure_ = static_cast<int>(now / std::max<std::int64_t>(measureTicks, 1)) + 1;
    beat_ = static_cast<int>((now % std::max<std::int64_t>(measureTicks, 1)) / TicksPerBeat) + 1;
    if (!looping_) return;
    switch (StyleModeBeat(range_, measure_, beat_)) {
    case BeatStep::Continue: return;
    case BeatStep::LoopBack:
        // The part logic, told the loop end is reached, goes back to the start and ends the
        // notes that sound.
        player.StylePos = player.LoopEnd;
        measure_ = range_.StartMeasure;
        beat_ = range_.StartBeat;
        return;
    case BeatStep::Stop:
        container.sections.NextSection = engine::NextStop;
        player.StylePos = player.LoopEnd;
        return;
    }
}

}  // namespace chordella::stylecreator
