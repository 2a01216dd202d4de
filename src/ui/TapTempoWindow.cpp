#include "ui/TapTempoWindow.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <array>

namespace chordella::ui {
namespace {

// The metronome's accent group of each "Metrum" entry ("6/4" … "1/8"): 3 for "3/4" and
// "6/8", 5 for "5/4", else 4. One tap per click of a measure.
constexpr std::array<int, 9> MetrumGroups = {4, 5, 4, 3, 4, 4, 3, 4, 4};
// "Quantize" entries 0 … 4 are the quarter grids, 5 … 9 the eighth grids.
constexpr int QuantizeHalf = 5;

}  // namespace

TapTempoWindow::TapTempoWindow(CoreLink& link, QWidget* parent) : QWidget(parent, Qt::Window), link_(link) {
    setObjectName("TapTempoWindow");
    setWindowTitle("Tap Tempo - F8");
    auto* layout = new QVBoxLayout(this);
    tap_ = new QPushButton;
    tap_->setObjectName("TapButton");
    tap_->setMinimumSize(220, 90);
    QFont big = tap_->font();
    big.setPointSize(18);
    tap_->setFont(big);
    connect(tap_, &QPushButton::clicked, this, [this] { TapOnce(); });
    auto* f8 = new QShortcut(QKeySequence(Qt::Key_F8), this);
    connect(f8, &QShortcut::activated, this, [this] { TapOnce(); });
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), this);
        connect(enter, &QShortcut::activated, this, [this] { TapOnce(); });
    }

    tempo_ = new QLabel;
    tempo_->setObjectName("TapTempo");
    tempo_->setAlignment(Qt::AlignCenter);

    auto* grid = new QGroupBox("Quantize");
    auto* gridLayout = new QHBoxLayout(grid);
    quarters_ = new QRadioButton("1/4 measure");
    eighths_ = new QRadioButton("1/8 measure");
    quarters_->setObjectName("QuarterGrid");
    eighths_->setObjectName("EighthGrid");
    gridLayout->addWidget(quarters_);
    gridLayout->addWidget(eighths_);
    auto* choice = new QButtonGroup(grid);
    choice->addButton(quarters_);
    choice->addButton(eighths_);
    connect(eighths_, &QRadioButton::clicked, this, [this] { ChooseGrid(true); });
    connect(quarters_, &QRadioButton::clicked, this, [this] { ChooseGrid(false); });

    layout->addWidget(tap_);
    layout->addWidget(tempo_);
    layout->addWidget(grid);
    tap_->setText(QString("Tap %1 times").arg(group_));
}

void TapTempoWindow::showEvent(QShowEvent* event) {
    taps_ = 0;
    ReadGroup();
    Refresh(link_.Snapshot());  // the tempo as it is now, before the next publication
    QWidget::showEvent(event);
}

void TapTempoWindow::ReadGroup() {
    link_.ReadOptions([self = QPointer<TapTempoWindow>(this)](const core::Options& options) {
        if (self) self->ShowOptions(options);
    });
}

void TapTempoWindow::ShowOptions(const core::Options& options) {
    const bool known = options.Metrum >= 0 && options.Metrum < static_cast<int>(MetrumGroups.size());
    group_ = known ? MetrumGroups[static_cast<std::size_t>(options.Metrum)] : 4;
    tap_->setText(QString("Tap %1 times").arg(group_));
    const bool eighths = options.Quantize >= QuantizeHalf;
    (eighths ? eighths_ : quarters_)->setChecked(true);
}

void TapTempoWindow::TapOnce() {
    link_.Tap();
    // The core takes the tempo and starts the style at the last tap of the measure.
    if (++taps_ >= group_) {
        taps_ = 0;
        close();
    }
}

void TapTempoWindow::ChooseGrid(bool eighths) {
    link_.ReadOptions([link = &link_, eighths](const core::Options& options) {
        const bool isEighths = options.Quantize >= QuantizeHalf;
        if (isEighths == eighths) return;
        core::Options changed = options;
        changed.Quantize += eighths ? QuantizeHalf : -QuantizeHalf;
        link->ApplyOptions(changed);
    });
}

void TapTempoWindow::Refresh(const app::DisplaySnapshot& snapshot) {
    tempo_->setText(QString("%1 bpm").arg(snapshot.Tempo));
}

}  // namespace chordella::ui
