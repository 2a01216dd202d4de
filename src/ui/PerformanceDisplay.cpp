#include "ui/PerformanceDisplay.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/BeatLamps.h"
#include "ui/DisplayText.h"
#include "ui/DisplayWords.h"

namespace chordella::ui {

namespace {

constexpr int MinTempo = 25;
constexpr int MaxTempo = 250;
constexpr int SmallestHeight = 130;
constexpr int LargestHeight = 330;

// Text sizes as parts of the display's height.
constexpr double CaptionScale = 0.085;
constexpr double BigScale = 0.2;
constexpr double HugeScale = 0.54;
constexpr double InfoScale = 0.12;
constexpr double SmallScale = 0.09;
constexpr double LampScale = 0.13;

QVBoxLayout* Column(QWidget* box) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setSpacing(0);
    return layout;
}

int Pixels(int height, double scale, int least) { return std::max(least, static_cast<int>(height * scale)); }

}  // namespace

PerformanceDisplay::PerformanceDisplay(QWidget* parent) : QFrame(parent) {
    setObjectName("PerformanceDisplay");
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);
    layout->addWidget(BuildStyleColumn(), 3);
    layout->addWidget(BuildBeatColumn(), 2);
    layout->addWidget(BuildChordColumn(), 3);
    layout->addWidget(BuildSongColumn(), 3);
    ScaleTo(SmallestHeight);
    Refresh(app::DisplaySnapshot{});
}

int PerformanceDisplay::HeightFor(int windowHeight) {
    return std::clamp(windowHeight * 21 / 100, SmallestHeight, LargestHeight);
}

QWidget* PerformanceDisplay::BuildStyleColumn() {
    auto* box = new QWidget;
    QVBoxLayout* layout = Column(box);
    auto* caption = new DisplayText("StyleCaption");
    caption->SetText("STYLE");
    styleName_ = new DisplayText("StyleName");
    part_ = new DisplayText("PartDisplay");
    queued_ = new DisplayText("QueuedPart");
    captions_.push_back(caption);
    for (DisplayText* line : {caption, styleName_, part_, queued_}) layout->addWidget(line);
    layout->addStretch(1);
    return box;
}

QWidget* PerformanceDisplay::BuildBeatColumn() {
    auto* box = new QWidget;
    QVBoxLayout* layout = Column(box);
    auto* caption = new DisplayText("MeasureCaption");
    caption->SetText("MEASURE : BEAT");
    measure_ = new DisplayText("MeasureDisplay");
    lamps_ = new BeatLamps("BeatLamp");
    captions_.push_back(caption);
    layout->addWidget(caption);
    layout->addWidget(measure_);
    layout->addWidget(lamps_);
    layout->addStretch(1);
    return box;
}

QWidget* PerformanceDisplay::BuildChordColumn() {
    auto* box = new QWidget;
    QVBoxLayout* layout = Column(box);
    auto* caption = new DisplayText("ChordCaption");
    caption->SetText("CHORD");
    chord_ = new DisplayText("ChordDisplay");
    nextChord_ = new DisplayText("NextChordDisplay");
    captions_.push_back(caption);
    for (DisplayText* line : {caption, chord_, nextChord_}) layout->addWidget(line);
    layout->addStretch(1);
    return box;
}

QWidget* PerformanceDisplay::BuildSongColumn() {
    auto* box = new QWidget;
    QVBoxLayout* layout = Column(box);
    auto* caption = new DisplayText("SongCaption");
    caption->SetText("SONG");
    songTitle_ = new DisplayText("SongTitleDisplay");
    auto* tempoRow = new QHBoxLayout;
    tempoRow->setSpacing(6);
    tempo_ = new QSpinBox;
    tempo_->setObjectName("TempoEdit1");
    tempo_->setRange(MinTempo, MaxTempo);
    tempo_->setValue(120);
    tempo_->setToolTip("Tempo (beats per minute)");
    tempo_->setFocusPolicy(Qt::ClickFocus);  // the keys belong to the window until a field is clicked
    tempo_->setKeyboardTracking(false);      // the tempo changes when typing is done, not per digit
    connect(tempo_, &QSpinBox::valueChanged, this, [this](int bpm) {
        if (OnTempo) OnTempo(bpm);
    });
    tap_ = new QPushButton("Tap  F8");
    tap_->setObjectName("TapTempoButton");
    tap_->setFocusPolicy(Qt::NoFocus);
    connect(tap_, &QPushButton::clicked, this, [this] {
        if (OnTap) OnTap();
    });
    auto* unit = new DisplayText("TempoCaption");
    unit->SetText("BPM");
    unit->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    captions_.push_back(unit);
    tempoRow->addWidget(tempo_, 1);
    tempoRow->addWidget(unit);
    tempoRow->addWidget(tap_);
    output_ = new DisplayText("OutputDisplay");
    priority_ = new DisplayText("PriorityDisplay");
    captions_.push_back(caption);
    layout->addWidget(caption);
    layout->addWidget(songTitle_);
    layout->addLayout(tempoRow);
    layout->addWidget(output_);
    layout->addWidget(priority_);
    layout->addStretch(1);
    return box;
}

void PerformanceDisplay::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    ScaleTo(height());
}

void PerformanceDisplay::ScaleTo(int height) {
    if (height == scaledHeight_) return;
    scaledHeight_ = height;
    const int h = height - 8;  // inside the margins
    for (DisplayText* caption : captions_) {
        caption->SetPixelSize(Pixels(h, CaptionScale, 10), false);
        caption->SetTone(DisplayText::Dim);
    }
    styleName_->SetPixelSize(Pixels(h, BigScale, 14), true);
    part_->SetPixelSize(Pixels(h, BigScale, 14), true);
    queued_->SetPixelSize(Pixels(h, InfoScale, 11), false);
    measure_->SetPixelSize(Pixels(h, HugeScale, 28), true);
    lamps_->SetDiameter(Pixels(h, LampScale, 12));
    chord_->SetPixelSize(Pixels(h, HugeScale, 28), true);
    nextChord_->SetPixelSize(Pixels(h, InfoScale, 11), false);
    songTitle_->SetPixelSize(Pixels(h, BigScale, 14), true);
    output_->SetPixelSize(Pixels(h, SmallScale, 10), false);
    priority_->SetPixelSize(Pixels(h, SmallScale, 10), false);
    // The tempo field and its button follow with their own style sheets (a widget's own
    // sheet outranks the theme's sizes).
    tempo_->setStyleSheet(QStringLiteral("font-size: %1px; font-weight: bold;").arg(Pixels(h, BigScale, 14)));
    tap_->setStyleSheet(QStringLiteral("font-size: %1px;").arg(Pixels(h, SmallScale, 10)));
}

void PerformanceDisplay::Refresh(const app::DisplaySnapshot& snapshot) {
    styleName_->SetText(words::Style(snapshot));
    part_->SetText(words::PlayingPart(snapshot));
    queued_->SetText(words::QueuedPart(snapshot));
    measure_->SetText(words::MeasureAndBeat(snapshot));
    lamps_->Show(snapshot.Beat, snapshot.BeatsPerMeasure);
    chord_->SetText(words::Chord(snapshot));
    nextChord_->SetText(words::NextChord(snapshot));
    const QString title = words::SongTitle(snapshot);
    songTitle_->SetText(title.isEmpty() ? QStringLiteral("No song") : title);
    songTitle_->SetTone(title.isEmpty() ? DisplayText::Dim : DisplayText::Normal);
    if (!tempo_->hasFocus() && tempo_->value() != snapshot.Tempo) {
        const QSignalBlocker quiet(tempo_);
        tempo_->setValue(snapshot.Tempo);
    }
    output_->SetText(words::Output(snapshot));
    output_->SetTone(snapshot.Output != app::OutputStatus::Ready ? DisplayText::Alert : DisplayText::Normal);
    priority_->SetText(words::Priority(snapshot));
    priority_->SetTone(snapshot.Priority == app::PriorityStatus::Denied ? DisplayText::Alert : DisplayText::Normal);
}

}  // namespace chordella::ui
