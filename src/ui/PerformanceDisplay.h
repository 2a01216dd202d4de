#pragma once
// The performance display at the top of the main window, readable from a distance: the
// style's whole name, the part that plays and the one queued next, the song's measure and
// beat with the beat lamps, the chord that sounds and the song's next chord, the tempo with
// its tap button, the output in use with its state, and the real-time priority.
//
// It shows display snapshots and forwards the tempo field and the tap button; nothing else.
// GUI thread only.

#include <QFrame>
#include <array>
#include <functional>

#include "app/DisplaySnapshot.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace chordella::ui {

class PerformanceDisplay final : public QFrame {
public:
    static constexpr int BeatLamps = 8;

    explicit PerformanceDisplay(QWidget* parent = nullptr);

    // The tempo field was set (25 … 250) and the tap button was pressed.
    std::function<void(int bpm)> OnTempo;
    std::function<void()> OnTap;

    void Refresh(const app::DisplaySnapshot& snapshot);

    // The part names by part number ("Intro" … "To Basic"); empty for none.
    static QString PartName(int part);
    // "Built-in synth · playing", "USB Keys · port lost", "No output".
    static QString OutputText(const app::DisplaySnapshot& snapshot);

private:
    QWidget* BuildStyleColumn();
    QWidget* BuildBeatColumn();
    QWidget* BuildChordColumn();
    QWidget* BuildStatusColumn();
    void RefreshLamps(const app::DisplaySnapshot& snapshot);

    QLabel* styleName_ = nullptr;
    QLabel* part_ = nullptr;
    QLabel* queued_ = nullptr;
    QLabel* measure_ = nullptr;
    std::array<QLabel*, BeatLamps> lamps_{};
    std::array<int, BeatLamps> lampState_{};
    QLabel* chord_ = nullptr;
    QLabel* nextChord_ = nullptr;
    QSpinBox* tempo_ = nullptr;
    QPushButton* tap_ = nullptr;
    QLabel* output_ = nullptr;
    QLabel* priority_ = nullptr;
};

}  // namespace chordella::ui
