#pragma once
// The arranger's panel of the main window: Start/Stop, Sync Start, Intro, Basic, Extended,
// Fill, To Basic, To Extended, Ending and Fade as large buttons with their key on them. The
// part that plays is lit, the one queued next blinks in the "queued" colour, Sync Start is
// lit while it is armed. Every press goes to the core link; nothing is decided here.
//
// GUI thread only.

#include <QWidget>
#include <array>

#include "app/DisplaySnapshot.h"
#include "ui/CoreLink.h"

class QPushButton;

namespace chordella::ui {

class PerformanceButtons final : public QWidget {
public:
    explicit PerformanceButtons(CoreLink& core, QWidget* parent = nullptr);

    void Refresh(const app::DisplaySnapshot& snapshot);

    // The buttons in panel order, for tests and the layout check.
    static constexpr int Count = 10;
    const std::array<QPushButton*, Count>& Buttons() const { return buttons_; }

private:
    CoreLink& core_;
    std::array<QPushButton*, Count> buttons_{};
};

}  // namespace chordella::ui
