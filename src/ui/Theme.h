#pragma once
// The program's look: a dark stage theme (readable on a dim stage, lit buttons stand out)
// and a light theme, as one style sheet each over the Fusion style, and the application
// icon, drawn here so it needs no image file at run time.
//
// The sheets style widgets by the dynamic properties the windows set: "role" ("big",
// "huge", "caption", "info", "performance"), "lamp" (0 dark, 1 accent, 2 beat), "state"
// ("playing", "queued", "armed") and "alert". GUI thread only.

#include <QIcon>
#include <QString>

class QApplication;

namespace chordella::ui {

enum class ThemeKind { Dark = 0, Light = 1 };

// The whole style sheet of a theme.
QString ThemeStyleSheet(ThemeKind theme);

// Sets the Fusion style, the palette and the style sheet of `theme` on the application.
void ApplyTheme(QApplication& application, ThemeKind theme);

// The application icon: a keyboard's keys under a chord symbol, in several sizes.
QIcon ApplicationIcon();

}  // namespace chordella::ui
