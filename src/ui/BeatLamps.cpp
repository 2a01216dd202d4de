#include "ui/BeatLamps.h"

#include <QHBoxLayout>
#include <QPainter>

namespace chordella::ui {

namespace {

constexpr int DefaultDiameter = 18;

// Dark lamps stay visible as rings on either theme; lit ones glow.
const QColor AccentColour("#ff3b30");
const QColor BeatColour("#34d058");
const QColor DarkFill(128, 128, 128, 60);
const QColor DarkRing(128, 128, 128, 160);

}  // namespace

BeatLamp::BeatLamp(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    SetDiameter(DefaultDiameter);
}

void BeatLamp::SetLit(State state) {
    if (state == state_) return;
    state_ = state;
    update();
}

void BeatLamp::SetDiameter(int pixels) { setFixedSize(pixels, pixels); }

void BeatLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal ring = std::max(1.0, width() / 12.0);
    const QRectF circle = QRectF(rect()).adjusted(ring / 2, ring / 2, -ring / 2, -ring / 2);
    switch (state_) {
        case Accent:
        case Beat: {
            const QColor colour = state_ == Accent ? AccentColour : BeatColour;
            painter.setPen(QPen(colour.darker(130), ring));
            painter.setBrush(colour);
            break;
        }
        case Dark:
            painter.setPen(QPen(DarkRing, ring));
            painter.setBrush(DarkFill);
            break;
    }
    painter.drawEllipse(circle);
}

BeatLamps::BeatLamps(const QString& prefix, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < MaxLamps; ++i) {
        auto* lamp = new BeatLamp;
        lamp->setObjectName(prefix + QString::number(i + 1));
        lamps_[static_cast<std::size_t>(i)] = lamp;
        layout->addWidget(lamp);
    }
    layout->addStretch(1);
    SetDiameter(DefaultDiameter);
    Show(0, 4);
}

void BeatLamps::Show(int beat, int beats) {
    for (int i = 0; i < MaxLamps; ++i) {
        BeatLamp* lamp = lamps_[static_cast<std::size_t>(i)];
        const bool shown = i < beats;
        if (lamp->isVisibleTo(this) != shown) lamp->setVisible(shown);
        lamp->SetLit(beat != i + 1 ? BeatLamp::Dark : i == 0 ? BeatLamp::Accent : BeatLamp::Beat);
    }
}

void BeatLamps::SetDiameter(int pixels) {
    for (BeatLamp* lamp : lamps_) lamp->SetDiameter(pixels);
    layout()->setSpacing(std::max(2, pixels / 3));
}

}  // namespace chordella::ui
