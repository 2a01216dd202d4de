#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace chordella::ui {

namespace {

constexpr const char* PlacedProperty = "chordellaPlaced";

QMargins FrameOf(const QWidget& window) {
    QMargins frame(BorderGuess, TitleBarGuess, BorderGuess, BorderGuess);
    if (const QWindow* handle = window.windowHandle(); handle != nullptr) {
        const QMargins known = handle->frameMargins();
        frame = QMargins(std::max(known.left(), frame.left()), std::max(known.top(), frame.top()),
                         std::max(known.right(), frame.right()), std::max(known.bottom(), frame.bottom()));
    }
    return frame;
}

}  // namespace

QRect PlaceBeside(QSize frameSize, QSize smallest, const QRect& avoid, const QRect& mainFrame, const QRect& screen) {
    const int width = std::clamp(frameSize.width(), std::min(smallest.width(), screen.width()), screen.width());
    // Beside the main window, at the display's height, when one side has the room.
    const int top = std::clamp(avoid.top(), screen.top(), screen.bottom());
    const int sideHeight = std::min(frameSize.height(), screen.bottom() + 1 - top);
    if (sideHeight >= std::min(frameSize.height(), smallest.height())) {
        if (mainFrame.right() + width <= screen.right()) return {mainFrame.right() + 1, top, width, sideHeight};
        if (mainFrame.left() - width >= screen.left()) return {mainFrame.left() - width, top, width, sideHeight};
    }
    // Below the display, as tall as the room there allows (never taller than the screen).
    const int below = std::clamp(avoid.bottom() + 1, screen.top(), screen.bottom());
    const int room = screen.bottom() + 1 - below;
    int height = std::min(frameSize.height(), room);
    int y = below;
    if (height < smallest.height()) {
        // The window cannot shrink that far: it keeps its smallest size, as low as it goes.
        height = std::min(smallest.height(), screen.height());
        y = screen.bottom() + 1 - height;
    }
    const int x = screen.left() + (screen.width() - width) / 2;
    return {x, y, width, height};
}

void PlaceOnFirstShow(QWidget& window, const QWidget& display) {
    if (window.property(PlacedProperty).toBool()) return;
    window.setProperty(PlacedProperty, true);
    const QScreen* screen = display.screen() != nullptr ? display.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QWidget* main = display.window();
    const QMargins frame = FrameOf(window);
    const QMargins mainMargins = FrameOf(*main);
    const QRect avoid(display.mapToGlobal(QPoint(0, 0)), display.size());
    const QRect mainFrame = main->geometry().marginsAdded(mainMargins);
    const QSize size = window.size().grownBy(frame);
    const QSize smallest = window.minimumSizeHint().expandedTo(window.minimumSize()).grownBy(frame);
    const QRect placed = PlaceBeside(size, smallest, avoid, mainFrame, screen->availableGeometry());
    // The content goes inside the frame assumed, so that a frame not yet known (or one the
    // platform does not report) still stays off the display.
    window.setGeometry(placed.marginsRemoved(frame));
}

}  // namespace chordella::ui
