#include "ui/ScrolledPage.h"

#include <QBoxLayout>
#include <QEvent>
#include <QScrollBar>

namespace chordella::ui {

namespace {

constexpr int SmallestSide = 120;

}  // namespace

QSize ContentScrollArea::sizeHint() const {
    if (widget() == nullptr) return QScrollArea::sizeHint();
    const int bar = verticalScrollBar()->sizeHint().width();
    const QMargins frame = contentsMargins();
    return widget()->sizeHint() + QSize(bar + frame.left() + frame.right(), frame.top() + frame.bottom());
}

// As narrow as the content goes (the windows fit a screen's width; they scroll only up and
// down), as low as a few rows.
QSize ContentScrollArea::minimumSizeHint() const {
    const int content = widget() != nullptr ? widget()->minimumSizeHint().width() : 0;
    return {content + verticalScrollBar()->sizeHint().width(), SmallestSide};
}

bool ContentScrollArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

ContentScrollArea* Scrolled(QWidget* content) {
    auto* area = new ContentScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    // Never narrower than the content: the window makes room beside it instead of hiding
    // controls sideways.
    area->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Expanding);
    return area;
}

QWidget* ScrolledPage(QBoxLayout& outer) {
    auto* content = new QWidget;
    content->setObjectName("ScrolledContent");
    outer.setContentsMargins(0, 0, 0, 0);
    outer.addWidget(Scrolled(content));
    return content;
}

}  // namespace chordella::ui
