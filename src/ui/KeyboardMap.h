#pragma once
// The computer keyboard as the help shows it: the four rows of character keys as they are
// printed on each layout of the options' list, each key with what it plays (a chord root,
// a melody note, a chord type), read from the same tables the chord entry uses.
//
// GUI thread only (Qt strings).

#include <QString>
#include <array>
#include <vector>

namespace chordella::ui {

// One key: what is printed on it (a space: the layout has no key there) and the code the
// key tables know it by (the German layout's code of that place).
struct MapKey {
    QChar Printed;
    int Code;
};

inline constexpr int KeyboardRowCount = 4;
using KeyboardRows = std::array<std::vector<MapKey>, KeyboardRowCount>;

// The digit row, the three letter rows, for a layout of chords::LayoutNames (an unknown
// layout: English (USA)).
KeyboardRows RowsOf(int layout);

// What a key does: "chord E", "melody C5", "type: min", or empty for none. `slotTypes`
// are the type names of slots 1 … 11 (the pad rows A … K), which the digits choose.
QString KeyRole(int code, const std::array<QString, 11>& slotTypes);

// The help's page on the keys: the map of the character keys on `layout`, the modifier,
// function and other keys of the window, and the chord pads.
QString KeyboardHelpHtml(int layout, const std::array<QString, 11>& slotTypes);

}  // namespace chordella::ui
