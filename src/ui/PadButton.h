#pragma once
// A button of the chord pads and section buttons. It reports the press with the modifier
// keys and the mouse button of that moment, and the release, whatever the button: a pad
// acts on press (a chord sounds while the pad is held), not on click. A pad held when its
// window loses the mouse (a message box opens, the window is hidden) is released then, so
// no chord is left sounding. Pads take no focus, so the computer keyboard keeps playing in
// the main window.

#include <QPushButton>
#include <functional>

#include "ui/CoreLink.h"

namespace chordella::ui {

class PadButton : public QPushButton {
public:
    explicit PadButton(const QString& name, QWidget* parent = nullptr);

    std::function<void(const Modifiers&)> OnDown;
    std::function<void()> OnUp;

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Release();

    bool held_ = false;
};

}  // namespace chordella::ui
