#pragma once
// The "MIDI Controls" window: 24 indicators "01" … "24" for the note codes 0 … 23 of the
// second input (each flips between cleared and greyed when its code runs; one assigned to a
// switch shows the switch), and the functions a message of the second input can be bound to,
// each with its bound messages, "Learn" (the next note, controller or program change on the
// second input is bound to it and saved) and "Forget". While it is shown it reads the state
// a few times a second. Its key strokes go to the main window's key handling.
//
// GUI thread only.

#include <QWidget>
#include <array>
#include <vector>

#include "desktop/RemoteRequests.h"
#include "ui/CoreLink.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QTimer;

namespace chordella::ui {

inline constexpr const char* MidiControlsCaption = "MIDI Controls (Codes: note on + values between 0 and 23)";

class MidiControlsWindow : public QWidget {
public:
    explicit MidiControlsWindow(CoreLink& link, QWidget* parent = nullptr);

    void Show(const desktop::RemoteView& view);
    QCheckBox* Indicator(int code) const { return indicators_[static_cast<std::size_t>(code)]; }
    // The "Learn" button of `function` (nullptr for a function the list does not have).
    QPushButton* LearnButton(int function) const;
    // The bound messages shown beside `function`.
    QString BoundText(int function) const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    struct Line {
        int Function = 0;
        QLabel* Bound = nullptr;
        QPushButton* Learn = nullptr;
    };

    void Send(desktop::RemoteRequest request);
    void BuildLines(const desktop::RemoteView& view);
    void PassKey(QKeyEvent* event);

    CoreLink& link_;
    std::array<QCheckBox*, remote::IndicatorCount> indicators_{};
    QGridLayout* lines_ = nullptr;
    std::vector<Line> shown_;
    QTimer* poll_ = nullptr;
    bool waiting_ = false;  // a read is on its way: the next tick of the poll skips
    int learning_ = -1;
};

}  // namespace chordella::ui
