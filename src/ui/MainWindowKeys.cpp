// The main window's keys: it sees every key of its own widgets first.
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>

#include "ui/MainWindow.h"
#include "ui/PerformanceDisplay.h"
#include "ui/VirtualKeys.h"
#include "ui/WindowPlacement.h"

namespace chordella::ui {

namespace {

Modifiers ModifiersOf(const QKeyEvent& event) {
    Modifiers modifiers;
    modifiers.Shift = (event.modifiers() & Qt::ShiftModifier) != 0;
    modifiers.Ctrl = (event.modifiers() & Qt::ControlModifier) != 0;
    modifiers.Alt = (event.modifiers() & Qt::AltModifier) != 0;
    return modifiers;
}

// The numeric pad's digits, plus and minus as their own virtual-key codes (the remote
// control's keys); 0 for every other key.
int KeypadCode(const QKeyEvent& event) {
    if ((event.modifiers() & Qt::KeypadModifier) == 0) return 0;
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + (key - Qt::Key_0);
    if (key == Qt::Key_Plus) return 0x6B;
    if (key == Qt::Key_Minus) return 0x6D;
    return 0;
}

bool IsTransportKey(int key) { return key == Qt::Key_Space || (key >= Qt::Key_F1 && key <= Qt::Key_F12); }

// A field that takes typed text (the tempo, the measures) keeps the keys it uses.
bool TypingIn(QWidget* widget) {
    return widget != nullptr && widget->hasFocus() &&
           (qobject_cast<QAbstractSpinBox*>(widget) != nullptr || qobject_cast<QLineEdit*>(widget) != nullptr);
}

bool FieldKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return true;
    switch (key) {
        case Qt::Key_Minus:
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Escape:
            return true;
        default:
            return false;
    }
}

bool ListKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show) {
        PlaceWindow(watched);
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) return false;
    return HandleKey(static_cast<QKeyEvent*>(event), type == QEvent::KeyPress);
}

void MainWindow::PlaceWindow(QObject* watched) {
    auto* window = qobject_cast<QWidget*>(watched);
    if (window == nullptr || window == this || !window->isWindow()) return;
    const Qt::WindowType kind = window->windowType();
    if (kind != Qt::Window && kind != Qt::Dialog) return;  // menus, tool tips and pop-ups stay where Qt puts them
    if (qobject_cast<QFileDialog*>(window) != nullptr) return;
    // The stage view has no display to keep free: the window opens where it would anyway.
    if (IsStageView()) return;
    PlaceOnFirstShow(*window, *display_);
}

bool MainWindow::HandleKey(QKeyEvent* event, bool press) {
    const int key = event->key();
    QWidget* focus = focusWidget();
    // Tab switches between the normal and the stage view; Escape leaves the stage view.
    const bool stageKey = key == Qt::Key_Tab || key == Qt::Key_Backtab || (key == Qt::Key_Escape && IsStageView());
    if (stageKey && !TypingIn(focus)) {
        if (press && !event->isAutoRepeat()) SetStageView(key == Qt::Key_Escape ? false : !IsStageView());
        return true;
    }
    if (IsTransportKey(key)) {
        if (key == Qt::Key_Space && TypingIn(focus)) return false;
        return !press || FunctionKey(key, event->isAutoRepeat());
    }
    // A text field (the style search) keeps every key but the function keys; a list (the
    // style browser) keeps the keys that move in it and Enter; the rest play chords.
    if (focus != nullptr && focus->hasFocus() && qobject_cast<QLineEdit*>(focus) != nullptr) return false;
    if (focus != nullptr && focus->hasFocus() && qobject_cast<QAbstractItemView*>(focus) != nullptr && ListKey(key))
        return false;
    if (TypingIn(focus) && FieldKey(key)) return false;
    const int keypad = KeypadCode(*event);
    const int virtualKey = keypad != 0 ? keypad : VirtualKeyOf(key, keyboardLayout_);
    if (virtualKey == NoVirtualKey) return false;
    if (press) {
        core_.KeyDown(virtualKey, event->isAutoRepeat(), ModifiersOf(*event));
    } else if (!event->isAutoRepeat()) {
        // Auto-repeat sends a release before each repeated press: the key is still held.
        core_.KeyUp(virtualKey, ModifiersOf(*event));
    }
    return true;
}

bool MainWindow::FunctionKey(int qtKey, bool autoRepeat) {
    if (autoRepeat) return true;
    switch (qtKey) {
        case Qt::Key_F1:
            // Before the style plays there is no fill to ask for: F1 is the help key then.
            if (!lastPlaying_) {
                OpenHelp(0);
                return true;
            }
            core_.SectionKeyPressed(0);
            return true;
        case Qt::Key_F2:
        case Qt::Key_F3:
        case Qt::Key_F4:
            core_.SectionKeyPressed(qtKey - Qt::Key_F1);
            return true;
        case Qt::Key_Space:
        case Qt::Key_F10:
            core_.StartStop();
            return true;
        case Qt::Key_F5:
        case Qt::Key_F6:
        case Qt::Key_F7:
            core_.RequestPart(qtKey - Qt::Key_F5);  // Intro, Basic, Extended
            return true;
        case Qt::Key_F11:
            core_.FadeOut();
            return true;
        case Qt::Key_F9:
            core_.Record();
            return true;
        case Qt::Key_F12:
            core_.SaveSong({});
            return true;
        case Qt::Key_F8:
            // Opens the window; its first tap is the first of the series (F8 there taps).
            if (openTapTempo_) openTapTempo_();
            return true;
        default:
            return false;
    }
}

}  // namespace chordella::ui
