#include "ui/StageView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/BeatLamps.h"
#include "ui/DisplayText.h"
#include "ui/DisplayWords.h"

namespace chordella::ui {

namespace {

// Text sizes as parts of the view's height; the chord is also held to the width, so that
// a long name ("ENDING", "Bbmin7") stays whole in a narrow window.
constexpr double TitleScale = 0.075;
constexpr double PartScale = 0.095;
constexpr double ChordScale = 0.30;
constexpr double ChordWidthShare = 1.0 / 4.6;
constexpr double NextChordScale = 0.085;
constexpr double MeasureScale = 0.15;
constexpr double LampScale = 0.10;
constexpr int Margin = 16;

QHBoxLayout* Row(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    row->setSpacing(Margin);
    column->addLayout(row);
    return row;
}

}  // namespace

StageView::StageView(QWidget* parent) : QWidget(parent) {
    setObjectName("StageView");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(Margin, Margin / 2, Margin, Margin);
    column->setSpacing(0);

    QHBoxLayout* top = Row(column);
    songTitle_ = new DisplayText("StageSongTitle");
    style_ = new DisplayText("StageStyle");
    style_->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top->addWidget(songTitle_, 3);
    top->addWidget(style_, 2);

    QHBoxLayout* parts = Row(column);
    part_ = new DisplayText("StagePart");
    queued_ = new DisplayText("StageQueuedPart");
    tempo_ = new DisplayText("StageTempo");
    tempo_->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tempo_->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);  // never elided
    parts->addWidget(part_, 3);
    parts->addWidget(queued_, 3);
    parts->addWidget(tempo_);

    column->addStretch(1);
    chord_ = new DisplayText("StageChord");
    chord_->SetAlignment(Qt::AlignCenter);
    nextChord_ = new DisplayText("StageNextChord");
    nextChord_->SetAlignment(Qt::AlignCenter);
    nextChord_->SetTone(DisplayText::Dim);
    column->addWidget(chord_);
    column->addWidget(nextChord_);
    column->addStretch(1);

    QHBoxLayout* beats = Row(column);
    measure_ = new DisplayText("StageMeasure");
    measure_->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    lamps_ = new BeatLamps("StageBeatLamp");
    alert_ = new DisplayText("StageAlert");
    alert_->SetTone(DisplayText::Alert);
    alert_->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    beats->addWidget(measure_);
    beats->addWidget(lamps_, 0, Qt::AlignVCenter);
    beats->addWidget(alert_, 1);
    ScaleTo(QSize(1280, 720));
    Refresh(app::DisplaySnapshot{});
}

void StageView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ScaleTo(size());
}

void StageView::mouseDoubleClickEvent(QMouseEvent*) {
    if (OnLeave) OnLeave();
}

void StageView::ScaleTo(QSize size) {
    if (size == scaledSize_) return;
    scaledSize_ = size;
    const int h = std::max(200, size.height() - Margin);
    const auto px = [h](double scale) { return static_cast<int>(h * scale); };
    songTitle_->SetPixelSize(px(TitleScale), true);
    style_->SetPixelSize(px(TitleScale), false);
    part_->SetPixelSize(px(PartScale), true);
    queued_->SetPixelSize(px(PartScale * 0.8), false);
    tempo_->SetPixelSize(px(PartScale), true);
    chord_->SetPixelSize(std::min(px(ChordScale), static_cast<int>(size.width() * ChordWidthShare)), true);
    nextChord_->SetPixelSize(px(NextChordScale), false);
    measure_->SetPixelSize(px(MeasureScale), true);
    lamps_->SetDiameter(px(LampScale));
    alert_->SetPixelSize(px(NextChordScale), true);
}

void StageView::Refresh(const app::DisplaySnapshot& snapshot) {
    songTitle_->SetText(words::SongTitle(snapshot));
    style_->SetText(words::Style(snapshot));
    part_->SetText(words::PlayingPart(snapshot));
    queued_->SetText(words::QueuedPart(snapshot));
    tempo_->SetText(QStringLiteral("%1 bpm").arg(snapshot.Tempo));
    chord_->SetText(words::Chord(snapshot));
    nextChord_->SetText(words::NextChord(snapshot));
    measure_->SetText(words::MeasureAndBeat(snapshot));
    lamps_->Show(snapshot.Beat, snapshot.BeatsPerMeasure);
    alert_->SetText(snapshot.Output == app::OutputStatus::Ready ? QString() : words::Output(snapshot));
}

}  // namespace chordella::ui
