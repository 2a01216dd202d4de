#include "data/StyleAnalysis.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "data/StyleStream.h"

namespace chordella::data {

namespace {

std::span<const std::uint8_t> LoadedStream(const StyleState& style) {
    const std::uint8_t* bytes = style.StreamBytes();
    if (!bytes || style.StyleLength <= 0) return {};
    return {bytes, static_cast<std::size_t>(std::min(style.StyleLength, StreamCapacity))};
}

}  // namespace

// A note-on (or key pressure) counts as ended inside its part when a later byte of the part
// is the same status with the same note and velocity 0 — or, for a note-on, a note-off
// message (0x8n) of that note. One pass keeps per status kind, channel and note the offset of
// the last sounding event and of the last end; a note whose last start has no end after it
// does not end inside the part. (Searching forward from every note-on instead costs a
// quadratic time on streams of many unended notes.)
void AnalyseNotesEnd(std::span<const std::uint8_t> stream, const PartRecord& part,
                     std::array<std::uint8_t, StyleChannels>& endsInPart,
                     std::array<std::uint8_t, StyleChannels>* channelUsed) {
    endsInPart.fill(1);
    if (!part.Present() || part.RangeStart < 0 || part.RangeEnd <= part.RangeStart || stream.empty()) return;
    // RangeEnd is where the next part begins (the engine loops on reaching it), so its byte
    // is not part of this part: a note-on there must not count as a note of this part.
    const auto last = std::min(static_cast<std::size_t>(part.RangeEnd) - 1, stream.size() - 1);

    constexpr std::size_t Keys = 2 * StyleChannels * 256;  // (note-on | key pressure) × channel × note
    std::vector<std::int64_t> lastStart(Keys, -1);
    std::vector<std::int64_t> lastEnd(Keys, -1);
    auto key = [](int kind, int channel, std::uint8_t note) {
        return (static_cast<std::size_t>(kind == 0xA0) * StyleChannels + static_cast<std::size_t>(channel)) * 256 + note;
    };
    for (auto i = static_cast<std::size_t>(part.RangeStart); i <= last && i + 2 < stream.size(); ++i) {
        const std::uint8_t status = stream[i];
        const int kind = status & 0xF0;
        const int channel = status & 0x0F;
        const std::uint8_t note = stream[i + 1];
        if (kind == 0x80) {
            lastEnd[key(0x90, channel, note)] = static_cast<std::int64_t>(i);
        } else if (kind == 0x90 || kind == 0xA0) {
            if (stream[i + 2] == 0) {
                lastEnd[key(kind, channel, note)] = static_cast<std::int64_t>(i);
            } else {
                if (channelUsed) (*channelUsed)[static_cast<std::size_t>(channel)] = 1;
                lastStart[key(kind, channel, note)] = static_cast<std::int64_t>(i);
            }
        }
    }
    for (std::size_t k = 0; k < Keys; ++k) {
        if (lastStart[k] >= 0 && lastEnd[k] < lastStart[k]) endsInPart[(k / 256) % StyleChannels] = 0;
    }
}

namespace {

void AnalysePart(StyleState& style, std::span<const std::uint8_t> stream, int p) {
    AnalyseNotesEnd(stream, style.Parts[static_cast<std::size_t>(p)], style.NotesEndInPart[static_cast<std::size_t>(p)],
                    &style.Header.ChannelUsed);
}

// The "SC-55.VXI" clean-up: bank-select MSB values of 63 or more, and drum-kit programs above
// 62 on channel 10, are not in that module's sound set.
void ApplySc55Rules(StyleState& style, int p) {
    const PartRecord& part = style.Parts[static_cast<std::size_t>(p)];
    std::uint8_t* bytes = style.StreamBytes();
    const auto length = std::min(style.StyleLength, StreamCapacity);
    if (!bytes || !part.Present() || part.RangeStart < 0 || part.RangeStart > part.RangeEnd) return;
    const std::int32_t last = std::min(part.RangeEnd - 1, length - 1);
    for (std::int32_t i = part.RangeStart; i <= last && i + 2 < length; ++i) {
        const std::uint8_t status = bytes[i];
        if ((status & 0xF0) == 0xB0 && bytes[i + 1] == 0 && bytes[i + 2] >= 63) bytes[i + 2] = 0;
        if (status == 0xC9 && bytes[i + 1] > 62 && bytes[i + 1] != 128) bytes[i + 1] = 0;
    }
}

}  // namespace

StyleMeterChoice MeterChoiceOf(std::int16_t styleMeter) {
    StyleMeterChoice choice;
    const int value = styleMeter;
    choice.EighthNotes = value < 0;
    choice.MeasureUnits = value == 0 ? 16 : std::abs(value);
    return choice;
}

std::int64_t PositionTicks(std::int16_t styleMeter, int measure, int beat) {
    const std::int64_t units = MeterChoiceOf(styleMeter).MeasureUnits;
    return (units / 4) * 24 * (static_cast<std::int64_t>(measure) - 1) + (static_cast<std::int64_t>(beat) - 1) * 24;
}

std::int32_t PositionToOffset(std::span<const std::uint8_t> stream, std::int16_t styleMeter, int measure, int beat) {
    const std::int64_t target = PositionTicks(styleMeter, measure, beat);
    if (target <= 0) return -1;
    std::int64_t sum = 0;
    std::size_t i = 0;
    while (i < stream.size() && i < static_cast<std::size_t>(StreamCapacity)) {
        const std::uint8_t b = stream[i];
        if (b == stream::EndOfStream || b == stream::EndOfBuffer) break;
        if (stream::IsWait(b)) {
            sum += stream::WaitTicks(b);
            if (sum >= target) return static_cast<std::int32_t>(i);
            ++i;
        } else if (stream::IsChannelMessage(b)) {
            i += stream::MessageLength;
        } else {
            ++i;
        }
    }
    return PositionNotReached;
}

StreamPosition OffsetToPosition(std::span<const std::uint8_t> stream, std::int16_t styleMeter, std::int32_t offset) {
    const std::size_t end = std::min({stream.size(), static_cast<std::size_t>(StreamCapacity),
                                      static_cast<std::size_t>(std::max(offset, 0))});
    std::int64_t ticks = 0;
    std::size_t i = 0;
    while (i < end) {
        const std::uint8_t b = stream[i];
        if (b == stream::EndOfStream || b == stream::EndOfBuffer) break;
        if (stream::IsWait(b)) ticks += stream::WaitTicks(b);
        i += stream::IsChannelMessage(b) ? stream::MessageLength : 1;
    }
    const std::int64_t measureTicks = (MeterChoiceOf(styleMeter).MeasureUnits / 4) * 24;
    StreamPosition position;
    if (measureTicks <= 0) {
        position.Beat = static_cast<int>(ticks / 24) + 1;
        position.Tick = static_cast<int>(ticks % 24);
        return position;
    }
    position.Measure = static_cast<int>(ticks / measureTicks) + 1;
    position.Beat = static_cast<int>((ticks % measureTicks) / 24) + 1;
    position.Tick = static_cast<int>(ticks % 24);
    return position;
}

void AnalyseChannels(StyleState& style, int firstPart, int lastPart, bool sc55Rules) {
    firstPart = std::max(firstPart, 0);
    lastPart = std::min(lastPart, PartCount - 1);
    for (int p = firstPart; p <= lastPart; ++p) {
        if (sc55Rules) ApplySc55Rules(style, p);
        AnalysePart(style, LoadedStream(style), p);
    }
}

}  // namespace chordella::data
