#include "ui/TKeys.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace chordella::ui {

TKeys::TKeys(QWidget* parent) : QWidget(parent) {
    setObjectName("TKeys");
    keyboard_.Width = width_;
    keyboard_.Height = height_;
    resize(width_, height_);
}

void TKeys::SetOrientation(chords::KeyboardOrientation orientation) {
    keyboard_.Orientation = orientation;
    update();
}

void TKeys::SetNoteWidth(int width) {
    keyboard_.NoteWidth = width < 1 ? 1 : width;
    update();
}

void TKeys::SetBaseOctave(int octave) {
    keyboard_.BaseOctave = octave;
    update();
}

void TKeys::SetHeight(int height) {
    height_ = height;
    updateGeometry();
    resize(width(), height);
}

void TKeys::SetWidth(int width) {
    width_ = width;
    updateGeometry();
    resize(width, height());
}

void TKeys::SetBlackBrush(const QBrush& brush) {
    blackBrush_ = brush;
    update();
}

void TKeys::SetWhiteBrush(const QBrush& brush) {
    whiteBrush_ = brush;
    update();
}

void TKeys::SetPen(const QPen& pen) {
    pen_ = pen;
    update();
}

bool TKeys::IsSounding(int note) const {
    return note >= 0 && note < 128 && sounding_.test(static_cast<std::size_t>(note));
}

void TKeys::SetSounding(int note, bool sounding) {
    if (note < 0 || note > 127 || IsSounding(note) == sounding) return;
    sounding_.set(static_cast<std::size_t>(note), sounding);
    update();
}

QSize TKeys::sizeHint() const { return {width_, height_}; }

void TKeys::SetChordZone(int first, int last) {
    if (first == zoneFirst_ && last == zoneLast_) return;
    zoneFirst_ = first;
    zoneLast_ = last;
    update();
}

void TKeys::SetNoteNames(bool on) {
    noteNames_ = on;
    update();
}

void TKeys::SetFitOctaves(int octaves) {
    fitOctaves_ = octaves;
    if (fitOctaves_ > 0) keyboard_.NoteWidth = std::max(1, width() / (7 * fitOctaves_ + 1));
    update();
}

void TKeys::resizeEvent(QResizeEvent* event) {
    // The geometry follows the size the window gives us.
    keyboard_.Width = width();
    keyboard_.Height = height();
    if (fitOctaves_ > 0) keyboard_.NoteWidth = std::max(1, width() / (7 * fitOctaves_ + 1));
    QWidget::resizeEvent(event);
}

void TKeys::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(pen_);
    const QBrush pressed(palette().color(QPalette::Highlight));
    // The chord zone's keys are tinted: the split point is where the tint ends.
    const QBrush zoneWhite(QColor("#bcd7f5"));
    const QBrush zoneBlack(QColor("#1f3f66"));
    QFont font = painter.font();
    font.setPixelSize(std::clamp(keyboard_.NoteWidth / 2, 7, 14));
    painter.setFont(font);
    for (const chords::KeyRect& key : keyboard_.Keys()) {
        const bool inZone = key.Note >= zoneFirst_ && key.Note <= zoneLast_;
        const QBrush& normal = key.Black ? (inZone ? zoneBlack : blackBrush_) : (inZone ? zoneWhite : whiteBrush_);
        painter.setBrush(IsSounding(key.Note) ? pressed : normal);
        painter.drawRect(key.X, key.Y, key.W - 1, key.H - 1);
        if (noteNames_ && !key.Black && key.Note % 12 == 0) {
            const QRect label(key.X, key.Y + key.H - font.pixelSize() - 6, key.W - 1, font.pixelSize() + 4);
            painter.drawText(label, Qt::AlignCenter, QStringLiteral("C%1").arg(key.Note / 12 - 1));
        }
    }
}

void TKeys::Press(const QPoint& point) {
    const int note = keyboard_.NoteAtPoint(point.x(), point.y());
    if (note < 0 || IsSounding(note)) return;
    held_ = note;
    SetSounding(note, true);
    if (OnNoteOn) OnNoteOn(note, keyboard_.VelocityAtPoint(point.x(), point.y()));
}

void TKeys::ReleaseHeld() {
    if (held_ < 0) return;
    const int note = held_;
    held_ = -1;
    SetSounding(note, false);
    if (OnNoteOff) OnNoteOff(note, 0);
}

// The press captures the mouse (Qt sends every move and the release to the widget that
// took the press), so a release outside the keyboard still ends the note.
void TKeys::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::RightButton || (pickSplit_ && event->button() == Qt::LeftButton)) {
        const int note = keyboard_.NoteAtPoint(point.x(), point.y());
        pickSplit_ = false;
        if (note >= 0 && OnSplitPicked) OnSplitPicked(note);
        event->accept();
        return;
    }
    if (held_ < 0) Press(point);
    event->accept();
}

void TKeys::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint point = event->position().toPoint();
    const int note = keyboard_.NoteAtPoint(point.x(), point.y());
    if (note == held_) return;
    ReleaseHeld();
    Press(point);
}

bool TKeys::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Hide:
        case QEvent::WindowDeactivate:
        case QEvent::WindowBlocked:
            ReleaseHeld();
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void TKeys::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) ReleaseHeld();
    event->accept();
}

}  // namespace chordella::ui
