#pragma once
// The style container: the other long-lived state object. It holds the one loaded style,
// the style player's and the section logic's state, the recogniser's held notes and the
// style creator's work, each as the plain field struct of its owning module.

#include "data/CreatorWork.h"

namespace chordella::app {

struct StyleContainer {
    data::CreatorWork Work;   // the style creator's material and its import fields
};

}  // namespace chordella::app
