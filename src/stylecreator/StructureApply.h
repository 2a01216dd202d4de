#pragma once
// "Use data for Style A" / "Use data for Style B": the structure file's layout applied to the
// material. Also the converter's way in, with ranges of its own.

#include "stylecreator/PartSetter.h"
#include "stylecreator/StructureFile.h"

namespace chordella::stylecreator {

struct StructureOutcome {
    int PartsSet = 0;
    int FirstMeasure = 1;          // the arrangement's first measure: minus the Intro's length, else 1
    bool SomeBeyondMaterial = false;
};

// Converter ranges in 2/4 (AdjustForTwoFour on every set pair; an unset pair stays unset).
void AdjustRangesForTwoFour(StructureData& data);

// Stops playback, clears every part, sets the mute boxes from "Muting" and the parts in the
// order Basic, Extended, Ending, Fill in Basic, Fill in Extended, To Extended, To Basic,
// Intro, without questions. Ranges beyond the material are left out and reported once.
// `eighthBase`: the eighth-note base doubles the Intro's lead-in.
StructureOutcome ApplyStructure(const StructureData& data, PartSetter& setter, data::StyleState& style,
                                CreatorHostLink& host, ChannelFlags& muteBoxes, platform::Prompter& prompter,
                                bool eighthBase);

}  // namespace chordella::stylecreator
