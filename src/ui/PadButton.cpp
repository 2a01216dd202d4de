#include "ui/PadButton.h"

#include <QMouseEvent>

namespace chordella::ui {

PadButton::PadButton(const QString& name, QWidget* parent) : QPushButton(parent) {
    setObjectName(name);
    setProperty("role", "pad");  // the theme draws the pads small, so the whole grid fits
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);  // and a tall window makes them tall
    setFocusPolicy(Qt::NoFocus);
}

void PadButton::mousePressEvent(QMouseEvent* event) {
    // A second button pressed while one is held starts nothing new: the pad is down once.
    if (!held_) {
        held_ = true;
        const Qt::KeyboardModifiers keys = event->modifiers();
        Modifiers modifiers;
        modifiers.Shift = keys.testFlag(Qt::ShiftModifier);
        modifiers.Ctrl = keys.testFlag(Qt::ControlModifier);
        modifiers.Alt = keys.testFlag(Qt::AltModifier);
        modifiers.LeftButton = event->button() == Qt::LeftButton;
        if (OnDown) OnDown(modifiers);
    }
    QPushButton::mousePressEvent(event);
    event->accept();  // also for the right button, so that its release comes back here
}

void PadButton::mouseReleaseEvent(QMouseEvent* event) {
    // The pad is up when the last button held on it is released.
    if (event->buttons() == Qt::NoButton) Release();
    QPushButton::mouseReleaseEvent(event);
    event->accept();
}

void PadButton::Release() {
    if (!held_) return;
    held_ = false;
    if (OnUp) OnUp();
}

bool PadButton::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Hide:
        case QEvent::WindowDeactivate:
        case QEvent::WindowBlocked:
            Release();
            break;
        default:
            break;
    }
    return QPushButton::event(event);
}

}  // namespace chordella::ui
