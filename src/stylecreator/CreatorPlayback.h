#pragma once
// Playing inside the creator: what happens at each beat in Style mode (show the position,
// loop at the part's end, stop after an Ending), the controller replay that makes a later
// start sound as the material sounds there, and the "&Basic" … "To Basic" menus that take
// the measure now playing as a part.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/StyleModel.h"
#include "stylecreator/PartPlacement.h"

namespace chordella::midi { class MidiOut; }

namespace chordella::stylecreator {

enum class BeatStep { Continue, LoopBack, Stop };

// "3:2"
std::string MeasureBeatText(int measure, int beat);

// At a beat in Style mode, playing (measure, beat) of `part`: past its last measure the loop
// goes back to its start, or playback stops when the part is followed by a stop (254).
BeatStep StyleModeBeat(const data::PartRecord& part, int measure, int beat);

struct ShortMessage {
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
    friend bool operator==(const ShortMessage&, const ShortMessage&) = default;
};

// Before playing from `startOffset`: reset-all-controllers on all 16 channels, then every
// control change below 120, program change and channel pressure of the used channels from
// the stream's start up to that offset, in stream order.
std::vector<ShortMessage> ControllerReplay(std::span<const std::uint8_t> stream, std::int32_t startOffset,
                                           const std::array<std::uint8_t, data::StyleChannels>& channelUsed);
void SendMessages(midi::MidiOut* out, const std::vector<ShortMessage>& messages);

// The menus "&Basic", "&Extended", "&Others".
enum class PartMenuItem {
    Intro, Basic, Extended, Ending, VariationBasic, VariationExtended, FillInBasic, FillInExtended, ToExtended, ToBasic
};
// The part a menu item sets at the measure now playing: main parts and Ending get the loop
// length from there (Intro from measure 2), fills and transitions that one measure.
PartRequest PartAtPosition(PartMenuItem item, int playingMeasure, int loopLength);

// "Repair style": "Fills Var 1 -> Fills Var 2" (toVariation2) sets Fill in Extended from Fill
// in Basic's saved range and To Basic from To Extended's; the other way round otherwise.
// Answers the two requests (end 0 where the source has no saved range).
std::array<PartRequest, 2> RepairRequests(const data::StyleState& style, bool toVariation2);

// "Remove percussion sounds": channel-10 notes below key 35 inside set parts fall silent.
// Answers the notes silenced.
int RemovePercussionSounds(const data::PartTable& parts, std::span<std::uint8_t> stream);

}  // namespace chordella::stylecreator
