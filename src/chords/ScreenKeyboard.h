#pragma once
// The geometry of the on-screen piano keyboard: which note lies under a point and how loud
// a click there is, and where each key is drawn. The widget only draws these rectangles
// and forwards presses; everything it decides is here, free of any window system.
//
// Coordinates are the widget's own pixels. A horizontal keyboard runs left to right (low
// notes left); its keys hang from the top edge, the black keys reach 60 % down and the tips
// of the keys are at the bottom. A vertical keyboard runs bottom to top (low notes at the
// bottom: the position is measured from the far end); its keys start at the left edge and
// their tips are at the right. A white key is NoteWidth wide along the keyboard; a black key
// is 60 % of that wide, centred on the border to its left neighbour, moved by the per-step
// offsets (C# and F# a little to the left, D# and A# to the right) so the groups look
// like a piano's.

#include <vector>

namespace chordella::chords {

enum class KeyboardOrientation { Horizontal, Vertical };

// The main window's keyboard starts at the octave of the chord zone's lowest key (FirstKey).
constexpr int BaseOctaveFor(int firstKey) { return firstKey < 0 ? 0 : firstKey / 12; }

// One key's rectangle for drawing, in widget pixels.
struct KeyRect {
    int X = 0;
    int Y = 0;
    int W = 0;
    int H = 0;
    int Note = 0;
    bool Black = false;
};

struct ScreenKeyboard {
    KeyboardOrientation Orientation = KeyboardOrientation::Horizontal;
    int NoteWidth = 10;  // of a white key, along the keyboard (the main window uses 30)
    int BaseOctave = 3;  // the leftmost (lowest) C is note BaseOctave × 12
    int Height = 50;
    int Width = 200;
    bool VelocityMode = true;  // the click's depth on the key decides its velocity

    // Along the keyboard and across it (the keys' length), in pixels.
    int Length() const;
    int KeyLength() const;
    // The depth the black keys reach from the keyboard's edge (60 % of KeyLength).
    int BlackLength() const;
    // The black keys' width (60 % of NoteWidth, at least 1).
    int BlackWidth() const;

    // The note under the widget point (x, y), or -1: outside the keyboard, or a note
    // outside 0 … 127.
    int NoteAtPoint(int x, int y) const;
    // The note at `position` along the keyboard (from its low end) and `across` from the
    // keyboard's edge towards the tips, or -1.
    int NoteAt(int position, int across) const;
    // The velocity of a click `across` pixels from the edge: with VelocityMode the depth
    // × 127 div KeyLength, the nearer the tip the louder, kept within 1 … 127 so a click
    // always sounds; otherwise 127.
    int VelocityAt(int across) const;
    int VelocityAtPoint(int x, int y) const;

    // Every key that fits, white keys first (black keys are drawn over them), for the widget
    // to paint. Notes outside 0 … 127 are left out.
    std::vector<KeyRect> Keys() const;
};

}  // namespace chordella::chords
