#include "stylecreator/PartPlacement.h"

#include <algorithm>

#include "data/StyleAnalysis.h"
#include "data/StyleStream.h"

namespace chordella::stylecreator {

namespace {

std::int16_t Meter(int measureUnits) { return static_cast<std::int16_t>(std::clamp(measureUnits, 1, 64)); }

// The record offset of (measure, beat): one past the wait that reaches it, 0 for the start,
// the stream's end when the material is shorter.
std::int32_t RecordOffset(std::span<const std::uint8_t> stream, int measureUnits, int measure, int beat) {
    const std::int32_t at = data::PositionToOffset(stream, Meter(measureUnits), measure, beat);
    return at == data::PositionNotReached ? StreamEnd(stream) : at + 1;
}

}  // namespace

std::int64_t MeasureTicks(int measureUnits) { return static_cast<std::int64_t>(std::max(measureUnits, 1)) * 6; }

std::int32_t StreamEnd(std::span<const std::uint8_t> stream) {
    std::size_t i = 0;
    while (i < stream.size()) {
        const std::uint8_t b = stream[i];
        if (b == data::stream::EndOfStream || b == data::stream::EndOfBuffer) break;
        i += data::stream::IsChannelMessage(b) ? data::stream::MessageLength : 1;
    }
    return static_cast<std::int32_t>(std::min(i, stream.size()));
}

int MeasuresIn(std::span<const std::uint8_t> stream, int measureUnits) {
    std::int64_t ticks = 0;
    const std::int32_t end = StreamEnd(stream);
    for (std::int32_t i = 0; i < end;) {
        const std::uint8_t b = stream[static_cast<std::size_t>(i)];
        if (data::stream::IsWait(b)) ticks += data::stream::WaitTicks(b);
        i += data::stream::IsChannelMessage(b) ? data::stream::MessageLength : 1;
    }
    const std::int64_t measure = MeasureTicks(measureUnits);
    return static_cast<int>((ticks + measure - 1) / measure);
}

void PlacePart(data::StyleState& style, std::span<const std::uint8_t> stream, int measureUnits,
               const PartRequest& request) {
    const auto p = static_cast<std::size_t>(std::clamp(request.Part, 0, data::PartCount - 1));
    data::PartRecord& record = style.Parts[p];
    const int beat = std::max(request.StartBeat, 1);
    record.StartMeasure = static_cast<std::int16_t>(request.StartMeasure);
    record.EndMeasure = static_cast<std::int16_t>(request.EndMeasure);
    record.StartBeat = static_cast<std::int16_t>(beat);
    record.LengthMeasures = static_cast<std::int16_t>(request.EndMeasure - request.StartMeasure + 1);
    record.RangeStart = RecordOffset(stream, measureUnits, request.StartMeasure, beat);
    record.RangeStart2 = record.RangeStart;
    record.RangeEnd = std::max(record.RangeStart, RecordOffset(stream, measureUnits, request.EndMeasure + 1, beat));
    const bool fill = p == 4 || p == 5;
    record.FollowUpCode = fill && request.Variation ? data::followup::Variation : data::DefaultFollowUpCode(request.Part);
    const std::array<std::int32_t*, 3> beats = {&record.Beat2Offset, &record.Beat3Offset, &record.Beat4Offset};
    for (int k = 0; k < 3; ++k)
        *beats[static_cast<std::size_t>(k)] =
            std::min(record.RangeEnd, RecordOffset(stream, measureUnits, request.StartMeasure, beat + k + 1));
    if (request.Mutes) record.PartMute = *request.Mutes;
    data::AnalyseNotesEnd(stream, record, style.NotesEndInPart[p], &style.Header.ChannelUsed);
    style.PartBounds[p] = {record.StartMeasure, record.EndMeasure};
}

void ClearPart(data::StyleState& style, std::span<const std::uint8_t> stream, int part) {
    const auto p = static_cast<std::size_t>(std::clamp(part, 0, data::PartCount - 1));
    const data::PartRecord old = style.Parts[p];
    style.Parts[p] = data::PartRecord{};
    style.Parts[p].CutNotes = old.CutNotes;   // the user's per-part flags stay for a later set
    style.Parts[p].PartMute = old.PartMute;
    style.PartBounds[p] = {};
    RebuildNotesEnd(style, stream, false);
}

void RebuildNotesEnd(data::StyleState& style, std::span<const std::uint8_t> stream, bool channelUsed) {
    if (channelUsed) style.Header.ChannelUsed.fill(0);
    for (std::size_t p = 0; p < data::PartCount; ++p)
        data::AnalyseNotesEnd(stream, style.Parts[p], style.NotesEndInPart[p],
                              channelUsed ? &style.Header.ChannelUsed : nullptr);
}

std::vector<int> ChainFollowers(data::StyleState& style, std::span<const std::uint8_t> stream, int measureUnits,
                                int mainPart, int previousEnd, const std::optional<ChannelFlags>& mutes) {
    using data::StylePart;
    std::vector<int> chained;
    std::array<StylePart, 2> followers{};
    if (mainPart == data::Index(StylePart::Basic)) {
        followers = {StylePart::ToExtended, StylePart::FillInBasic};
    } else if (mainPart == data::Index(StylePart::Extended)) {
        followers = {StylePart::ToBasic, StylePart::FillInExtended};
    } else {
        return chained;
    }
    const int end = style.Parts[static_cast<std::size_t>(mainPart)].EndMeasure;
    for (StylePart follower : followers) {
        const data::PartRecord& record = style.Parts[static_cast<std::size_t>(data::Index(follower))];
        const bool untouched = record.StartMeasure == previousEnd && record.EndMeasure == previousEnd;
        if (record.Present() && !untouched) continue;
        PartRequest request;
        request.Part = data::Index(follower);
        request.StartMeasure = end;
        request.EndMeasure = end;
        request.Variation = record.FollowUpCode == data::followup::Variation;
        request.Mutes = mutes;
        PlacePart(style, stream, measureUnits, request);
        chained.push_back(request.Part);
    }
    return chained;
}

void SavePartBounds(data::StyleState& style) {
    for (std::size_t p = 0; p < data::PartCount; ++p)
        style.PartBounds[p] = {style.Parts[p].StartMeasure, style.Parts[p].EndMeasure};
}

}  // namespace chordella::stylecreator
