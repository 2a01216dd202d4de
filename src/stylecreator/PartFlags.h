#pragma once
// The per-part channel flags of the style creator: "  Cut Notes ..." for the selected part,
// "Set Cut Notes State to all Styleparts" and "Set Muting to all Styleparts". Each answers
// the number of parts it changed and marks the style modified when it changed one.
//
// Control thread only.

#include <array>
#include <cstdint>

#include "data/StyleState.h"

namespace chordella::stylecreator {

// Whether the part cuts the notes of its melodic channels when it ends (any channel counts).
bool PartCutsNotes(const data::StyleState& style, int part);
// "  Cut Notes ...": the part's melodic channels (2 … 15, the drums left alone) cut their
// notes when the part ends, or no longer do.
int SetPartCutNotes(data::StyleState& style, int part, bool on);
// "Set Cut Notes State to all Styleparts": every other set part takes `part`'s cut-notes row.
int CutNotesToAllParts(data::StyleState& style, int part);
// "Set Muting to all Styleparts": every set part takes the main window's channel mutes.
int MutingToAllParts(data::StyleState& style, const std::array<std::uint8_t, 16>& mutes);
// " Suppress all Style Controllers": the style header's flag.
void SetSuppressControllers(data::StyleState& style, bool on);

}  // namespace chordella::stylecreator
