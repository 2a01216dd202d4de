#pragma once
// The performance display at the top of the main window, readable from a distance: the
// style's whole name, the part that plays and the one queued next, the song's measure and
// beat with the beat lamps, the chord that sounds and the song's next chord, the song's
// title, the tempo with its tap button, the output in use with its state, and the
// real-time priority. Its text grows with its height, which the window sets from its own.
//
// It shows display snapshots and forwards the tempo field and the tap button; nothing else.
// GUI thread only.

#include <QFrame>
#include <functional>
#include <vector>

#include "app/DisplaySnapshot.h"

class QPushButton;
class QSpinBox;

namespace chordella::ui {

class BeatLamps;
class DisplayText;

class PerformanceDisplay final : public QFrame {
public:
    explicit PerformanceDisplay(QWidget* parent = nullptr);

    // The tempo field was set (25 … 250) and the tap button was pressed.
    std::function<void(int bpm)> OnTempo;
    std::function<void()> OnTap;

    void Refresh(const app::DisplaySnapshot& snapshot);
    const BeatLamps& Lamps() const { return *lamps_; }

    // The display's height for a window of `windowHeight` pixels: a fifth of it and more, within
    // bounds that keep the panels below usable on a small screen.
    static int HeightFor(int windowHeight);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* BuildStyleColumn();
    QWidget* BuildBeatColumn();
    QWidget* BuildChordColumn();
    QWidget* BuildSongColumn();
    // The text sizes follow the display's height.
    void ScaleTo(int height);

    DisplayText* styleName_ = nullptr;
    DisplayText* part_ = nullptr;
    DisplayText* queued_ = nullptr;
    DisplayText* measure_ = nullptr;
    BeatLamps* lamps_ = nullptr;
    DisplayText* chord_ = nullptr;
    DisplayText* nextChord_ = nullptr;
    DisplayText* songTitle_ = nullptr;
    QSpinBox* tempo_ = nullptr;
    QPushButton* tap_ = nullptr;
    DisplayText* output_ = nullptr;
    DisplayText* priority_ = nullptr;
    std::vector<DisplayText*> captions_;
    int scaledHeight_ = 0;
};

}  // namespace chordella::ui
