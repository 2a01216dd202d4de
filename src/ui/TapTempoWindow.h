#pragma once
// "Tap Tempo - F8": a big button (also Enter and F8) that hands each tap to the core, which
// measures the taps, sets the tempo and starts the style. The window counts the taps of one
// measure and closes after the last; the radio group "Quantize" moves the chord grid
// between its quarter and eighth halves.

#include <QWidget>

#include "ui/CoreLink.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace chordella::ui {

class TapTempoWindow : public QWidget {
public:
    explicit TapTempoWindow(CoreLink& link, QWidget* parent = nullptr);

    void Refresh(const app::DisplaySnapshot& snapshot);
    // The taps of one measure (the metronome's group of the chosen "Metrum").
    int TapsPerMeasure() const { return group_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void TapOnce();
    void ReadGroup();
    void ShowOptions(const core::Options& options);
    void ChooseGrid(bool eighths);

    CoreLink& link_;
    QPushButton* tap_ = nullptr;
    QLabel* tempo_ = nullptr;
    QRadioButton* quarters_ = nullptr;
    QRadioButton* eighths_ = nullptr;
    int group_ = 4;
    int taps_ = 0;
};

}  // namespace chordella::ui
