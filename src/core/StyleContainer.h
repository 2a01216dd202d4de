#pragma once
// The style container: the other long-lived state object. It holds the one loaded style,
// the style player's and the section logic's state, the recogniser's held notes and the
// style creator's work, each as the plain field struct of its owning module.

#include "core/HeldNotes.h"
#include "data/CreatorWork.h"
#include "data/StyleState.h"
#include "core/SectionState.h"
#include "core/StylePlayerState.h"

namespace chordella::core {

struct StyleContainer {
    chords::HeldNoteList heldNotes;
    data::StyleState style;
    engine::StylePlayerState player;
    data::CreatorWork Work;   // the style creator's material and its import fields
    engine::SectionState sections;
};

}  // namespace chordella::core
