#include "ui/DisplayText.h"

#include <QFontMetrics>
#include <QPainter>

namespace chordella::ui {

namespace {

// The alert colour reads on the dark and the light panel alike.
const QColor AlertColour("#e0564a");

}  // namespace

DisplayText::DisplayText(const char* name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void DisplayText::SetText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setToolTip(Elided() ? text_ : QString());
    update();
}

void DisplayText::SetPixelSize(int pixels, bool bold) {
    if (pixels == pixels_ && bold == bold_) return;
    pixels_ = std::max(6, pixels);
    bold_ = bold;
    updateGeometry();
    update();
}

void DisplayText::SetTone(Tone tone) {
    if (tone == tone_) return;
    tone_ = tone;
    update();
}

void DisplayText::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

QFont DisplayText::DrawnFont() const {
    QFont drawn = font();
    drawn.setPixelSize(pixels_);
    drawn.setBold(bold_);
    return drawn;
}

bool DisplayText::Elided() const { return QFontMetrics(DrawnFont()).horizontalAdvance(text_) > width(); }

QSize DisplayText::sizeHint() const {
    const QFontMetrics metrics(DrawnFont());
    return {metrics.horizontalAdvance(text_) + 2, metrics.height()};
}

QSize DisplayText::minimumSizeHint() const { return {1, QFontMetrics(DrawnFont()).height()}; }

void DisplayText::paintEvent(QPaintEvent*) {
    if (text_.isEmpty()) return;
    QPainter painter(this);
    const QFont drawn = DrawnFont();
    painter.setFont(drawn);
    QColor colour = palette().color(QPalette::WindowText);
    if (tone_ == Dim) colour = palette().color(QPalette::PlaceholderText);
    if (tone_ == Alert) colour = AlertColour;
    painter.setPen(colour);
    const QString shown = QFontMetrics(drawn).elidedText(text_, Qt::ElideRight, width());
    painter.drawText(rect(), static_cast<int>(alignment_), shown);
}

}  // namespace chordella::ui
