#pragma once
// A window's content in a scroll area, so that a window with many controls fits a small
// screen: it opens at the size its content asks for (as far as the screen allows) and
// scrolls where it is made smaller.
//
//   auto* layout = new QVBoxLayout(ScrolledPage(*new QVBoxLayout(this)));
//   auto* panel = Scrolled(MakeOptions());
//
// GUI thread only.

#include <QScrollArea>

class QBoxLayout;

namespace chordella::ui {

// A scroll area that asks for its content's whole size (a plain one asks for a fraction).
class ContentScrollArea final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // The content's layout changed (a list filled, a label grew): the window lays the area
    // out again with its new size.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// `content` inside a new frameless scroll area (which owns it).
ContentScrollArea* Scrolled(QWidget* content);

// A new content widget in a scroll area added to `outer`; lay the window's controls out on it.
QWidget* ScrolledPage(QBoxLayout& outer);

}  // namespace chordella::ui
