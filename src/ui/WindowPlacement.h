#pragma once
// Where the program's other windows open: never over the main window's performance
// display. A window goes beside the main window when the screen has room there, else
// below the display, made smaller when it is taller than that room (the windows scroll
// their content). Only a window's first showing is placed; later the player's own
// placement stands.
//
// GUI thread only.

#include <QRect>

class QWidget;

namespace chordella::ui {

// A window manager's title bar and borders, for windows whose frame is not known yet.
inline constexpr int TitleBarGuess = 30;
inline constexpr int BorderGuess = 2;

// The rectangle, frame included, for a window of `frameSize` (frame included) that should
// not cover `avoid` (the display, in screen coordinates) on a screen whose free area is
// `screen`; `mainFrame` is the main window's frame. Pure: the placement's arithmetic.
QRect PlaceBeside(QSize frameSize, QSize smallest, const QRect& avoid, const QRect& mainFrame, const QRect& screen);

// Places `window` before its first showing (it is marked as placed), from the display and
// main window it belongs to.
void PlaceOnFirstShow(QWidget& window, const QWidget& display);

}  // namespace chordella::ui
