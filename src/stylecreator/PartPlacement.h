#pragma once
// Where a style part lies in the creator's material: filling a part record from a measure
// range (offsets of its start, end and following beats), clearing it, and the chaining that
// lets a fresh Basic or Extended bring its transition and fill along. No questions here;
// PartSetter asks them.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "data/StyleState.h"

namespace chordella::stylecreator {

using ChannelFlags = std::array<std::uint8_t, data::StyleChannels>;

struct PartRequest {
    int Part = data::Index(data::StylePart::Basic);
    int StartMeasure = 1;
    int EndMeasure = 0;          // 0 = clear the part
    int StartBeat = 1;
    bool Variation = false;      // fills 4 and 5 holding a variation of the main part
    std::optional<ChannelFlags> Mutes;  // the channel mute boxes, when the user set them
};

// Ticks of one measure in a meter of `measureUnits` chord-memory units (16 in 4/4).
std::int64_t MeasureTicks(int measureUnits);
// Measures the material holds (a started measure counts).
int MeasuresIn(std::span<const std::uint8_t> stream, int measureUnits);
// The offset of the stream's end: where 0x00 or 0xF0 stands, else its size.
std::int32_t StreamEnd(std::span<const std::uint8_t> stream);

// Fills the record of `request.Part` from the material and rebuilds its notes-end row.
// The caller has checked the range (1 ≤ start ≤ end, start inside the material).
void PlacePart(data::StyleState& style, std::span<const std::uint8_t> stream, int measureUnits,
               const PartRequest& request);
// Clears the record (the part no longer plays) and rebuilds the notes-end rows of all parts.
void ClearPart(data::StyleState& style, std::span<const std::uint8_t> stream, int part);
// The notes-end rows of all parts; `channelUsed` also rebuilds the header's ChannelUsed.
void RebuildNotesEnd(data::StyleState& style, std::span<const std::uint8_t> stream, bool channelUsed);

// After Basic (or Extended) was set: To Extended then Fill in Basic (To Basic then Fill in
// Extended) move to the single measure at its end when they are empty or still sit on its
// previous end measure. Answers the parts that were set.
std::vector<int> ChainFollowers(data::StyleState& style, std::span<const std::uint8_t> stream, int measureUnits,
                                int mainPart, int previousEnd, const std::optional<ChannelFlags>& mutes);

// PartBounds := (start, end) of every part.
void SavePartBounds(data::StyleState& style);

}  // namespace chordella::stylecreator
