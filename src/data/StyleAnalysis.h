#pragma once
// What is computed from a style's stream rather than stored: which channels play notes,
// whether each part's notes end inside it, and where a (measure, beat) position lies.

#include <array>
#include <cstdint>
#include <span>

#include "data/StyleLoadLink.h"
#include "data/StyleModel.h"
#include "data/StyleState.h"

namespace chordella::data {

// The meter a StyleMeter value asks for: 0 → 16 quarter-note units, negative → eighth notes.
StyleMeterChoice MeterChoiceOf(std::int16_t styleMeter);

// Ticks from the stream's start to (measure, beat), both 1-based.
std::int64_t PositionTicks(std::int16_t styleMeter, int measure, int beat);

inline constexpr std::int32_t PositionNotReached = -2;
// The offset of the wait byte at which the running sum of waits first reaches (measure, beat);
// −1 for (1, 1) so that offset + 1 = 0; PositionNotReached when the stream ends first.
// `stream` is the loaded stream (StyleLength bytes of buffer 0).
std::int32_t PositionToOffset(std::span<const std::uint8_t> stream, std::int16_t styleMeter, int measure, int beat);

// Where an event of the stream plays: measure and beat (1-based) and the tick inside the beat.
struct StreamPosition {
    int Measure = 1;
    int Beat = 1;
    int Tick = 0;  // 0 … 23
};
// The position of the byte at `offset`: the sum of the waits before it. Offsets past the end
// of the stream (or past a 0x00 or 0xF0 that ends it) give the position of that end.
StreamPosition OffsetToPosition(std::span<const std::uint8_t> stream, std::int16_t styleMeter, std::int32_t offset);

// The notes-end analysis of one part over `stream` (which need not be the loaded style's):
// `endsInPart` of a channel stays 1 when every sounding note-on (or key pressure) of it inside
// the part has its end inside the part; `channelUsed`, when given, gets 1 for every channel
// with such a note.
void AnalyseNotesEnd(std::span<const std::uint8_t> stream, const PartRecord& part,
                     std::array<std::uint8_t, StyleChannels>& endsInPart,
                     std::array<std::uint8_t, StyleChannels>* channelUsed);

// Channel analysis over parts firstPart … lastPart: sets ChannelUsed for every channel with a
// sounding note-on or key pressure and recomputes NotesEndInPart. A part's bytes are those from
// RangeStart up to, not including, RangeEnd (where the next part begins). With sc55Rules (the full
// mode after a load with the "SC-55.VXI" set active) bank-select MSB values ≥ 63 and drum-kit
// programs > 62 on channel 10 in the stream become 0. ChannelUsed is not cleared here.
void AnalyseChannels(StyleState& style, int firstPart, int lastPart, bool sc55Rules);

}  // namespace chordella::data
