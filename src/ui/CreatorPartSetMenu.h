#pragma once
// The style creator's popup menu (right mouse button on the window): importing a foreign style
// file into the converter and opening the converter, sets of style parts read from and written
// to separate MIDI files, a single part written, and converting the set parts with the options
// of the menu. The requests go to the converter's side of the core.

#include "ui/CoreLink.h"

namespace chordella::ui {

class StyleCreatorWindow;

// Gives `creator` its popup menu.
void AttachPartSetMenu(StyleCreatorWindow* creator, CoreLink& link);

}  // namespace chordella::ui
