#pragma once
// Playing a channel of a foreign keyboard style by the rules its channel table gives it: the
// phrase was written over a source chord (often CMaj7 on C); each note is mapped from that
// chord to the chord being played by the channel's note transposition table, placed by its
// note transposition rule (root transposition with the high key, or root fixed) and kept
// inside the channel's note limits.
//
// The tables are written out below as chord shapes: for every chord kind the seven scale
// degrees a melody moves along, the four chord tones a chord part moves between, whether the
// chord counts as minor and how its fifth is altered.

#include <array>
#include <cstdint>

#include "data/NativeRules.h"

namespace chordella::engine {

// Kinds 0 … 34 are the channel table's chord kinds (0 Maj, 2 Maj7, 8 m, 19 "7", …); kind 35 is
// our major chord with a flat fifth, which the table does not know.
inline constexpr int ChordKindCount = 36;
inline constexpr int MajorFlatFiveKind = 35;

struct ChordShape {
    std::array<std::int8_t, 7> Scale;   // semitones above the root of degrees 1 … 7
    std::array<std::int8_t, 4> Tones;   // root, third, fifth, seventh; 12 = the root doubled
    bool Minor;                         // the minor-family tables lower the third for it
    std::int8_t FifthShift;             // +1 augmented, −1 diminished or flat five
};
extern const std::array<ChordShape, ChordKindCount> ChordShapes;

// Any thread. The chord kind of our chord type 1 … 17; other types count as major.
int KindOfChordType(int type) noexcept;

// Any thread. The interval (semitones above the played root, −1 … 13) that `interval`
// (0 … 11 above the source root) becomes under `table`, written over `sourceKind`, played
// over `targetKind`. Kinds outside 0 … 35 count as major.
int MapInterval(data::NoteTable table, int interval, int sourceKind, int targetKind) noexcept;

// Any thread, including the tick; allocates nothing. The key `note` (0 … 127) of a channel
// played by `rules` over the chord (root: any note of the root's pitch class; type 1 … 34).
// `octaveShift` (0 or −12) is the user's octave setting. Always 0 … 127.
std::uint8_t NativeTranspose(int note, const data::NativeChannelRules& rules, int root, int type, int octaveShift = 0) noexcept;

// Any thread. Where a note that sounds on `sounding` goes when the chord changes to `root`
// under a "… to root" retrigger rule: the nearest key of the root's pitch class, inside the
// range's note limits.
std::uint8_t RootNear(int sounding, int root, const data::NoteRangeRules& range) noexcept;

// Any thread. The rules `channel` plays by in `part` of the loaded style; nullptr when the
// style is not played natively or the channel has no rules there (drums, our own styles).
const data::NativeChannelRules* NativeRulesOf(const data::NativeRules& native, int part, int channel) noexcept;

// Any thread. `note` moved by octaves into low … high (as near as the range allows) and 0 … 127.
int InsideLimits(int note, int low, int high) noexcept;

}  // namespace chordella::engine
