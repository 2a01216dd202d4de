#include "stylecreator/CreatorPlayback.h"

#include <algorithm>

#include "data/StyleStream.h"
#include "midi/MidiOut.h"

namespace chordella::stylecreator {

std::string MeasureBeatText(int measure, int beat) { return std::to_string(measure) + ":" + std::to_string(beat); }

BeatStep StyleModeBeat(const data::PartRecord& part, int measure, int beat) {
    if (!part.Present()) return BeatStep::Continue;
    const int after = part.EndMeasure + 1;
    const bool pastEnd = measure > after || (measure == after && beat >= std::max<int>(part.StartBeat, 1));
    if (!pastEnd) return BeatStep::Continue;
    return part.FollowUpCode == data::followup::Stop ? BeatStep::Stop : BeatStep::LoopBack;
}

std::vector<ShortMessage> ControllerReplay(std::span<const std::uint8_t> stream, std::int32_t startOffset,
                                           const std::array<std::uint8_t, data::StyleChannels>& channelUsed) {
    std::vector<ShortMessage> messages;
    for (int c = 0; c < data::StyleChannels; ++c) messages.push_back({static_cast<std::uint8_t>(0xB0 | c), 121, 0});
    const auto end = std::min(static_cast<std::size_t>(std::max(startOffset, 0)), stream.size());
    for (std::size_t i = 0; i < end;) {
        const std::uint8_t b = stream[i];
        if (b == data::stream::EndOfStream || b == data::stream::EndOfBuffer) break;
        if (!data::stream::IsChannelMessage(b)) {
            ++i;
            continue;
        }
        if (i + 2 >= stream.size()) break;
        const int kind = b & 0xF0;
        const bool used = channelUsed[static_cast<std::size_t>(b & 0x0F)] != 0;
        const bool replayed = (kind == 0xB0 && stream[i + 1] < 120) || kind == 0xC0 || kind == 0xD0;
        if (used && replayed) messages.push_back({b, stream[i + 1], stream[i + 2]});
        i += data::stream::MessageLength;
    }
    return messages;
}

void SendMessages(midi::MidiOut* out, const std::vector<ShortMessage>& messages) {
    if (!out || !out->IsOpen()) return;
    for (const ShortMessage& m : messages) out->PutShort(m.Status, m.Data1, m.Data2);
}

PartRequest PartAtPosition(PartMenuItem item, int playingMeasure, int loopLength) {
    using data::StylePart;
    PartRequest request;
    const int loop = std::max(loopLength, 1);
    const int measure = std::max(playingMeasure, 1);
    auto main = [&](StylePart part, int start) {
        request.Part = data::Index(part);
        request.StartMeasure = start;
        request.EndMeasure = start + loop - 1;
    };
    auto single = [&](StylePart part, bool variation) {
        request.Part = data::Index(part);
        request.StartMeasure = measure;
        request.EndMeasure = variation ? measure + loop - 1 : measure;
        request.Variation = variation;
    };
    switch (item) {
    case PartMenuItem::Intro: main(StylePart::Intro, 2); break;
    case PartMenuItem::Basic: main(StylePart::Basic, measure); break;
    case PartMenuItem::Extended: main(StylePart::Extended, measure); break;
    case PartMenuItem::Ending: main(StylePart::Ending, measure); break;
    case PartMenuItem::VariationBasic: single(StylePart::FillInBasic, true); break;
    case PartMenuItem::VariationExtended: single(StylePart::FillInExtended, true); break;
    case PartMenuItem::FillInBasic: single(StylePart::FillInBasic, false); break;
    case PartMenuItem::FillInExtended: single(StylePart::FillInExtended, false); break;
    case PartMenuItem::ToExtended: single(StylePart::ToExtended, false); break;
    case PartMenuItem::ToBasic: single(StylePart::ToBasic, false); break;
    }
    return request;
}

std::array<PartRequest, 2> RepairRequests(const data::StyleState& style, bool toVariation2) {
    using data::StylePart;
    auto from = [&](StylePart source, StylePart target) {
        const data::PartBound& bound = style.PartBounds[static_cast<std::size_t>(data::Index(source))];
        PartRequest request;
        request.Part = data::Index(target);
        request.StartMeasure = bound.StartMeasure;
        request.EndMeasure = bound.StartMeasure > 0 ? std::max(bound.EndMeasure, bound.StartMeasure) : 0;
        request.Variation =
            style.Parts[static_cast<std::size_t>(data::Index(target))].FollowUpCode == data::followup::Variation;
        return request;
    };
    if (toVariation2)
        return {from(StylePart::FillInBasic, StylePart::FillInExtended), from(StylePart::ToExtended, StylePart::ToBasic)};
    return {from(StylePart::FillInExtended, StylePart::FillInBasic), from(StylePart::ToBasic, StylePart::ToExtended)};
}

int RemovePercussionSounds(const data::PartTable& parts, std::span<std::uint8_t> stream) {
    int silenced = 0;
    for (const data::PartRecord& part : parts) {
        if (!part.Present() || part.RangeStart < 0) continue;
        const auto end = std::min(static_cast<std::size_t>(std::max(part.RangeEnd, 0)), stream.size());
        for (auto i = static_cast<std::size_t>(part.RangeStart); i + 2 < stream.size() && i < end; ++i) {
            if (stream[i] == 0x99 && stream[i + 1] < 35 && stream[i + 2] > 0) {
                stream[i + 2] = 0;
                ++silenced;
            }
        }
    }
    return silenced;
}

}  // namespace chordella::stylecreator
