#pragma once
// The stage view: the whole window becomes the performance display, sized to be read from
// a few metres away — the chord that sounds in the middle (a quarter of the height), the
// song's next chord under it, measure and beat with the beat lamps, the part that plays and
// the one queued, the song's title, the style and the tempo, and a warning line when the
// output is not ready. Everything grows with the window.
//
// It shows display snapshots; a double click asks to leave it. GUI thread only.

#include <QWidget>
#include <functional>

#include "app/DisplaySnapshot.h"

namespace chordella::ui {

class BeatLamps;
class DisplayText;

class StageView final : public QWidget {
public:
    explicit StageView(QWidget* parent = nullptr);

    void Refresh(const app::DisplaySnapshot& snapshot);
    const BeatLamps& Lamps() const { return *lamps_; }

    // A double click on the view.
    std::function<void()> OnLeave;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ScaleTo(QSize size);

    DisplayText* songTitle_ = nullptr;
    DisplayText* style_ = nullptr;
    DisplayText* part_ = nullptr;
    DisplayText* queued_ = nullptr;
    DisplayText* tempo_ = nullptr;
    DisplayText* chord_ = nullptr;
    DisplayText* nextChord_ = nullptr;
    DisplayText* measure_ = nullptr;
    BeatLamps* lamps_ = nullptr;
    DisplayText* alert_ = nullptr;
    QSize scaledSize_;
};

}  // namespace chordella::ui
