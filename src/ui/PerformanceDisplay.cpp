#include "ui/PerformanceDisplay.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace chordella::ui {

namespace {

constexpr int MinTempo = 25;
constexpr int MaxTempo = 250;
constexpr int LampSize = 18;

constexpr std::array<const char*, 8> PartNames{"Intro",         "Basic",            "Extended",    "Ending",
                                               "Fill in Basic", "Fill in Extended", "To Extended", "To Basic"};

// The lamps' states; the theme's style sheet colours them by the "lamp" property.
enum LampState { LampDark = 0, LampAccent = 1, LampBeat = 2 };

QLabel* Text(const char* name, const char* role) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setProperty("role", role);  // the theme's fonts: "big", "huge", "caption", "info"
    return label;
}

void SetIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

// A property the style sheet reads changed: the widget is styled again.
void SetState(QWidget* widget, const char* property, const QVariant& value) {
    if (widget->property(property) == value) return;
    widget->setProperty(property, value);
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

QVBoxLayout* Column(QWidget* box) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setSpacing(2);
    return layout;
}

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
    layout->addWidget(BuildStatusColumn(), 2);
    Refresh(app::DisplaySnapshot{});
}

QWidget* PerformanceDisplay::BuildStyleColumn() {
    auto* box = new QWidget;
    QVBoxLayout* layout = Column(box);
    styleName_ = Text("StyleName", "big");
    styleName_->setMinimumWidth(120);
    part_ = Text("PartDisplay", "big");
    queued_ = Text("QueuedPart", "info");
    auto* caption = Text("StyleCaption", "caption");
    caption->setText("Style");
    layout->addWidget(caption);
    layout->addWidget(styleName_);
    layout->addWidget(part_);
    layout->addWidget(queued_);
    layout->addStretch(1);
    return box;
}

QWidget* PerformanceDisplay::BuildBeatColumn() {
    auto* box = new QWidget;
    QVBoxLayout* layout = Column(box);
    auto* caption = Text("MeasureCaption", "caption");
    caption->setText("Measure : Beat");
    measure_ = Text("MeasureDisplay", "huge");
    auto* lamps = new QHBoxLayout;
    lamps->setSpacing(4);
    for (int i = 0; i < BeatLamps; ++i) {
        auto* lamp = new QLabel;
        lamp->setObjectName(QStringLiteral("BeatLamp%1").arg(i + 1));
        lamp->setProperty("lamp", LampDark);
        lamp->setFixedSize(LampSize, LampSize);
        lamps_[static_cast<std::size_t>(i)] = lamp;
        lamps->addWidget(lamp);
    }
    lamps->addStretch(1);
    layout->addWidget(caption);
    layout->addWidget(measure_);
    layout->addLayout(lamps);
    layout->addStretch(1);
    return box;
}

QWidget* PerformanceDisplay::BuildChordColumn() {
    auto* box = new QWidget;
    QVBoxLayout* layout = Column(box);
    auto* caption = Text("ChordCaption", "caption");
    caption->setText("Chord");
    chord_ = Text("ChordDisplay", "huge");
    chord_->setMinimumWidth(160);
    nextChord_ = Text("NextChordDisplay", "info");
    layout->addWidget(caption);
    layout->addWidget(chord_);
    layout->addWidget(nextChord_);
    layout->addStretch(1);
    return box;
}

QWidget* PerformanceDisplay::BuildStatusColumn() {
    auto* box = new QWidget;
    QVBoxLayout* layout = Column(box);
    auto* tempoRow = new QHBoxLayout;
    auto* caption = Text("TempoCaption", "caption");
    caption->setText("Tempo");
    tempo_ = new QSpinBox;
    tempo_->setObjectName("TempoEdit1");
    tempo_->setProperty("role", "big");
    tempo_->setRange(MinTempo, MaxTempo);
    tempo_->setValue(120);
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
    tempoRow->addWidget(caption);
    tempoRow->addWidget(tempo_, 1);
    tempoRow->addWidget(tap_);
    output_ = Text("OutputDisplay", "info");
    priority_ = Text("PriorityDisplay", "info");
    layout->addLayout(tempoRow);
    layout->addWidget(output_);
    layout->addWidget(priority_);
    layout->addStretch(1);
    return box;
}

QString PerformanceDisplay::PartName(int part) {
    return part >= 0 && part < 8 ? PartNames[static_cast<std::size_t>(part)] : "";
}

QString PerformanceDisplay::OutputText(const app::DisplaySnapshot& snapshot) {
    const QString name = QString::fromUtf8(snapshot.OutputName.c_str());
    switch (snapshot.Output) {
        case app::OutputStatus::Ready:
            return name + (snapshot.Playing ? "  \u00b7  playing" : "  \u00b7  ready");
        case app::OutputStatus::NoAudioDevice:
            return name + "  \u00b7  no audio device";
        case app::OutputStatus::PortLost:
            return name + "  \u00b7  port lost";
        case app::OutputStatus::None:
            break;
    }
    return "No output";
}

void PerformanceDisplay::Refresh(const app::DisplaySnapshot& snapshot) {
    const QString style = QString::fromUtf8(snapshot.StyleFullName.c_str());
    SetIfChanged(styleName_, style.isEmpty() ? "No style loaded" : style);
    styleName_->setToolTip(style);
    QString part = PartName(snapshot.Part);
    if (snapshot.Fading) part += "  (fading)";
    SetIfChanged(part_, part.isEmpty() ? "Stopped" : part);
    const QString queued = PartName(snapshot.QueuedPart);
    SetIfChanged(queued_, queued.isEmpty() ? "" : "next: " + queued);
    SetIfChanged(measure_, snapshot.Measure == 0 && snapshot.Beat == 0
                               ? QStringLiteral("-:-")
                               : QStringLiteral("%1:%2").arg(snapshot.Measure).arg(snapshot.Beat));
    const QString chord = QString::fromUtf8(snapshot.ChordName.c_str());
    SetIfChanged(chord_, chord.isEmpty() ? "-" : chord);
    const QString next = QString::fromUtf8(snapshot.NextChord.c_str());
    SetIfChanged(nextChord_, next.isEmpty() ? "" : "next: " + next);
    if (!tempo_->hasFocus() && tempo_->value() != snapshot.Tempo) {
        const QSignalBlocker quiet(tempo_);
        tempo_->setValue(snapshot.Tempo);
    }
    SetIfChanged(output_, OutputText(snapshot));
    SetState(output_, "alert", snapshot.Output != app::OutputStatus::Ready);
    const char* priority = snapshot.Priority == app::PriorityStatus::Realtime ? "Real-time priority"
                           : snapshot.Priority == app::PriorityStatus::Denied ? "Normal priority (real time denied)"
                                                                               : "Normal priority (stopped)";
    SetIfChanged(priority_, priority);
    SetState(priority_, "alert", snapshot.Priority == app::PriorityStatus::Denied);
    RefreshLamps(snapshot);
}

void PerformanceDisplay::RefreshLamps(const app::DisplaySnapshot& snapshot) {
    for (int i = 0; i < BeatLamps; ++i) {
        QLabel* lamp = lamps_[static_cast<std::size_t>(i)];
        lamp->setVisible(i < snapshot.BeatsPerMeasure);
        const int state = snapshot.Beat != i + 1 ? LampDark : i == 0 ? LampAccent : LampBeat;
        int& shown = lampState_[static_cast<std::size_t>(i)];
        if (state == shown) continue;  // restyling is costly: only lamps that change
        shown = state;
        SetState(lamp, "lamp", state);
    }
}

}  // namespace chordella::ui
