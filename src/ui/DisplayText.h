#pragma once
// One line of text of the performance displays, drawn at a pixel size its display sets
// from its own height, so the text grows with the window (a style sheet cannot shrink it
// back). Too long a text is elided with "…" rather than widening the window; the whole
// text is then its tool tip.
//
// GUI thread only.

#include <QWidget>

namespace chordella::ui {

class DisplayText final : public QWidget {
public:
    enum Tone { Normal, Dim, Alert };

    explicit DisplayText(const char* name, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void SetText(const QString& text);
    // The font's pixel size; bold for the large lines.
    void SetPixelSize(int pixels, bool bold);
    int PixelSize() const { return pixels_; }
    void SetTone(Tone tone);
    void SetAlignment(Qt::Alignment alignment);
    // The text is wider than the room it has (drawn elided).
    bool Elided() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont DrawnFont() const;

    QString text_;
    int pixels_ = 14;
    bool bold_ = false;
    Tone tone_ = Normal;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace chordella::ui
