#pragma once
// The on-screen piano keyboard. It draws the keys of chords::ScreenKeyboard, paints the
// notes that sound as pressed, and turns the mouse into notes: a press sounds the note
// under the pointer (the nearer the key's tip, the louder, in VelocityMode), dragging with
// the left button held glides from key to key (the old note ends, the new one sounds), and
// the release ends the note (also when the window loses the mouse: a message box opens,
// the window is hidden). Which note lies where is the geometry's business, not ours.
//
//   ui::TKeys keys;
//   keys.SetNoteWidth(30);
//   keys.OnNoteOn = [&](int note, int velocity) { link.ScreenNoteOn(note, velocity); };
//   keys.OnNoteOff = [&](int note, int velocity) { link.ScreenNoteOff(note, velocity); };

#include <QBrush>
#include <QPen>
#include <QWidget>
#include <bitset>
#include <functional>

#include "chords/ScreenKeyboard.h"

namespace chordella::ui {

class TKeys : public QWidget {
public:
    explicit TKeys(QWidget* parent = nullptr);

    // The published properties.
    chords::KeyboardOrientation Orientation() const { return keyboard_.Orientation; }
    void SetOrientation(chords::KeyboardOrientation orientation);
    int NoteWidth() const { return keyboard_.NoteWidth; }
    void SetNoteWidth(int width);
    int BaseOctave() const { return keyboard_.BaseOctave; }
    void SetBaseOctave(int octave);
    int Height() const { return height_; }
    void SetHeight(int height);
    int Width() const { return width_; }
    void SetWidth(int width);
    const QBrush& BlackBrush() const { return blackBrush_; }
    void SetBlackBrush(const QBrush& brush);
    const QBrush& WhiteBrush() const { return whiteBrush_; }
    void SetWhiteBrush(const QBrush& brush);
    const QPen& Pen() const { return pen_; }
    void SetPen(const QPen& pen);
    bool VelocityMode() const { return keyboard_.VelocityMode; }
    void SetVelocityMode(bool on) { keyboard_.VelocityMode = on; }

    // The note and its velocity (0 for a release).
    std::function<void(int note, int velocity)> OnNoteOn;
    std::function<void(int note, int velocity)> OnNoteOff;

    // The chord zone, shaded (notes first … last; last < first: none), and the names on the C
    // keys ("C4" is note 60).
    void SetChordZone(int first, int last);
    int ChordZoneFirst() const { return zoneFirst_; }
    int ChordZoneLast() const { return zoneLast_; }
    void SetNoteNames(bool on);
    // Octaves shown across the width: the key width follows the widget's width (0: the
    // note width stays as set).
    void SetFitOctaves(int octaves);
    // The split point is chosen on the keys: a right click on a key, or the next left click
    // after ArmSplitPicking, reports the key (it does not sound).
    std::function<void(int note)> OnSplitPicked;
    void ArmSplitPicking(bool armed) { pickSplit_ = armed; }
    bool SplitPickingArmed() const { return pickSplit_; }

    // The notes painted as pressed: those the mouse sounds, and any the window marks.
    bool IsSounding(int note) const;
    void SetSounding(int note, bool sounding);
    // The geometry as drawn now (the widget's own size).
    const chords::ScreenKeyboard& Geometry() const { return keyboard_; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Press(const QPoint& point);
    void ReleaseHeld();

    chords::ScreenKeyboard keyboard_;
    int width_ = 200;
    int height_ = 50;
    QBrush blackBrush_{Qt::black};
    QBrush whiteBrush_{Qt::white};
    QPen pen_{Qt::black};
    std::bitset<128> sounding_;
    int held_ = -1;  // the note the mouse sounds, -1 none
    int zoneFirst_ = 0;
    int zoneLast_ = -1;
    bool noteNames_ = false;
    int fitOctaves_ = 0;
    bool pickSplit_ = false;
};

}  // namespace chordella::ui
