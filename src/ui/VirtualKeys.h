#pragma once
// Qt's key codes as the Windows-style virtual-key codes the chord entry reads: letters
// and digits are their ASCII capitals, punctuation the 0xBA … 0xDE codes of a US keyboard,
// and a shifted key gives the code of its unshifted key ('!' is '1', ':' is 0xBA).
//
// Any thread.

namespace chordella::ui {

inline constexpr int NoVirtualKey = 0;

// The virtual-key code of a Qt::Key value, or NoVirtualKey for keys that have none here.
int VirtualKeyOf(int qtKey);

}  // namespace chordella::ui
