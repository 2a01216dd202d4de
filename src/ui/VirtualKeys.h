#pragma once
// Qt's key codes as the Windows-style virtual-key codes the chord entry reads: letters
// and digits are their ASCII capitals, the other characters the 0xBA … 0xE2 codes of their
// key on the computer keyboard's layout (the layout list of chords/ComputerKeys.h), and a
// shifted key gives the code of its unshifted key (US '!' is '1', French '1' is the '&' key).
//
// Any thread.

#include "chords/ComputerKeys.h"

namespace chordella::ui {

inline constexpr int NoVirtualKey = 0;

// The virtual-key code of a Qt::Key value typed on `layout`, or NoVirtualKey for keys that
// have none here.
int VirtualKeyOf(int qtKey, int layout = chords::SwappedLayout);

}  // namespace chordella::ui
