#pragma once
// The style container: the other long-lived state object. It holds the one loaded style,
// the style player's and the section logic's state, the recogniser's held notes and the
// style creator's work, each as the plain field struct of its owning module.

#include "data/StyleState.h"
#include "engine/SectionState.h"
#include "engine/StylePlayerState.h"

namespace chordella::app {

struct StyleContainer {
    data::StyleState style;
    engine::StylePlayerState player;
    engine::SectionState sections;
};

}  // namespace chordella::app
