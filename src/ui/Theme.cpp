#include "ui/Theme.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyleFactory>
#include <array>

namespace chordella::ui {

namespace {

struct Colours {
    const char* Window;
    const char* Panel;      // the performance display's background
    const char* Text;
    const char* Dim;        // captions
    const char* Button;
    const char* ButtonText;
    const char* Playing;    // lit: the part that plays, Start while playing
    const char* Queued;     // the part that comes next
    const char* Armed;      // Sync Start waiting
    const char* LampOff;    // borders
    const char* Base;       // lists and fields
};

constexpr Colours Dark{"#1e2126", "#111316", "#e8eaed", "#8a9099", "#30353c", "#e8eaed",
                       "#2e9e4f", "#c98a14", "#2f6fd0", "#3a3f46", "#16181c"};
constexpr Colours Light{"#eef0f3", "#ffffff", "#1b1d21", "#5f6670", "#dde1e6", "#1b1d21",
                        "#33a457", "#e0a020", "#3c7be0", "#c9ced6", "#ffffff"};

const Colours& ColoursOf(ThemeKind theme) { return theme == ThemeKind::Light ? Light : Dark; }

}  // namespace

QString ThemeStyleSheet(ThemeKind theme) {
    const Colours& c = ColoursOf(theme);
    QString sheet = QStringLiteral(R"(
QWidget { font-size: 10pt; }
QMainWindow, QDialog { background: %1; }
QFrame#PerformanceDisplay { background: %2; border: 1px solid %10; border-radius: 8px; }
QWidget#StageView { background: %2; }
QPushButton { background: %5; color: %6; border: 1px solid %10; border-radius: 5px; padding: 3px 8px; }
QPushButton:hover { border-color: %4; }
QPushButton:pressed { background: %10; }
QPushButton:checked { background: %9; }
QPushButton:disabled { color: %4; }
QPushButton[role="pad"] { font-size: 9pt; padding: 0px 2px; min-height: 17px; border-radius: 3px; }
QPushButton[role="performance"] { font-size: 12pt; font-weight: bold; min-height: 40px; padding: 2px 4px; }
QPushButton[state="playing"] { background: %7; color: white; border-color: %7; }
QPushButton[state="queued"] { background: %8; color: white; border-color: %8; }
QPushButton[state="armed"] { background: %9; color: white; border-color: %9; }
QTreeWidget, QLineEdit, QSpinBox, QComboBox { background: %11; color: %3; border: 1px solid %10; border-radius: 4px; }
QTabWidget::pane { border: 1px solid %10; border-radius: 4px; }
QTabBar::tab { background: %5; color: %6; padding: 5px 14px; border-top-left-radius: 5px; border-top-right-radius: 5px; }
QTabBar::tab:selected { background: %7; color: white; }
QStatusBar { color: %4; }
)");
    return sheet.arg(c.Window, c.Panel, c.Text, c.Dim, c.Button, c.ButtonText, c.Playing, c.Queued, c.Armed)
        .arg(c.LampOff, c.Base);
}

void ApplyTheme(QApplication& application, ThemeKind theme) {
    if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
    const Colours& c = ColoursOf(theme);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(c.Window));
    palette.setColor(QPalette::WindowText, QColor(c.Text));
    palette.setColor(QPalette::Base, QColor(c.Base));
    palette.setColor(QPalette::AlternateBase, QColor(c.Panel));
    palette.setColor(QPalette::Text, QColor(c.Text));
    palette.setColor(QPalette::Button, QColor(c.Button));
    palette.setColor(QPalette::ButtonText, QColor(c.ButtonText));
    palette.setColor(QPalette::Highlight, QColor(c.Armed));
    palette.setColor(QPalette::HighlightedText, QColor("white"));
    palette.setColor(QPalette::ToolTipBase, QColor(c.Panel));
    palette.setColor(QPalette::ToolTipText, QColor(c.Text));
    palette.setColor(QPalette::PlaceholderText, QColor(c.Dim));
    QApplication::setPalette(palette);
    application.setStyleSheet(ThemeStyleSheet(theme));
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal s = size;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor("#1e2126"));
        painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
        // Four white keys with three black keys over them.
        const QRectF keys(s * 0.12, s * 0.42, s * 0.76, s * 0.46);
        const qreal white = keys.width() / 4;
        painter.setBrush(QColor("#f4f4f4"));
        for (int i = 0; i < 4; ++i)
            painter.drawRoundedRect(QRectF(keys.left() + i * white + s * 0.01, keys.top(), white - s * 0.02, keys.height()),
                                    s * 0.02, s * 0.02);
        painter.setBrush(QColor("#1e2126"));
        for (int i = 1; i < 4; ++i)
            painter.drawRect(QRectF(keys.left() + i * white - white * 0.3, keys.top(), white * 0.6, keys.height() * 0.58));
        // Three lit dots: a chord.
        painter.setBrush(QColor("#46d160"));
        const std::array<qreal, 3> heights{0.30, 0.22, 0.14};
        for (int i = 0; i < 3; ++i)
            painter.drawEllipse(QPointF(s * (0.30 + 0.2 * i), s * heights[static_cast<std::size_t>(i)]), s * 0.07, s * 0.07);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace chordella::ui
