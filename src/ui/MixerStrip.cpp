#include "ui/MixerStrip.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace chordella::ui {
namespace {

constexpr const char* LampOff = "background-color: #303030; border-radius: 4px;";
constexpr const char* LampOn = "background-color: #40e040; border-radius: 4px;";
constexpr int InstrumentPoints = 8;

}  // namespace

MixerStrip::MixerStrip(int channel, QWidget* parent) : QWidget(parent) {
    const QString number = QString::number(channel + 1);
    setObjectName("MixerStrip" + number);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);

    auto* title = new QLabel(number);
    title->setAlignment(Qt::AlignCenter);
    lamp_ = new QLabel;
    lamp_->setObjectName("Lamp" + number);
    lamp_->setFixedSize(8, 8);
    lamp_->setStyleSheet(LampOff);
    // The instrument's name on two lines, as wide as the strip gets: "Electric Piano 1"
    // whole instead of "Electri…".
    instrument_ = new QLabel;
    instrument_->setObjectName("Instrument" + number);
    instrument_->setAlignment(Qt::AlignCenter);
    instrument_->setWordWrap(true);
    instrument_->setMinimumWidth(56);
    QFont small = instrument_->font();
    small.setPointSize(InstrumentPoints);
    instrument_->setStyleSheet(QString("font-size: %1pt;").arg(InstrumentPoints));
    instrument_->setFixedHeight(2 * QFontMetrics(small).lineSpacing());

    volume_ = MakeSlider(VolumeControl, Volume, Qt::Vertical, "Volume" + number);
    pan_ = MakeSlider(PanControl, Pan, Qt::Horizontal, "Pan" + number);
    reverb_ = MakeSlider(ReverbControl, Reverb, Qt::Horizontal, "Reverb" + number);
    chorus_ = MakeSlider(ChorusControl, Chorus, Qt::Horizontal, "Chorus" + number);
    volume_->setMinimumHeight(48);  // the mixer shares its page with the pads: it fits a 720-pixel screen

    mute_ = new QCheckBox("Mute");
    mute_->setObjectName("Mute" + number);
    mute_->setFocusPolicy(Qt::NoFocus);
    connect(mute_, &QCheckBox::toggled, this, [this](bool on) {
        Touch(MuteControl);
        if (OnMute) OnMute(on);
    });
    auto* solo = new QToolButton;
    solo->setText("Solo");
    solo->setCheckable(true);
    solo->setObjectName("Solo" + number);
    solo->setFocusPolicy(Qt::NoFocus);
    connect(solo, &QToolButton::toggled, this, [this](bool on) {
        Touch(SoloControl);
        if (OnSolo) OnSolo(on);
    });
    solo_ = solo;

    layout->addWidget(title);
    layout->addWidget(lamp_, 0, Qt::AlignHCenter);
    layout->addWidget(instrument_);
    layout->addWidget(new QLabel("Pan"));
    layout->addWidget(pan_);
    layout->addWidget(new QLabel("Rev."));
    layout->addWidget(reverb_);
    layout->addWidget(new QLabel("Chor."));
    layout->addWidget(chorus_);
    layout->addWidget(volume_, 1, Qt::AlignHCenter);
    layout->addWidget(mute_);
    layout->addWidget(solo_);
}

QSlider* MixerStrip::MakeSlider(Control control, int controller, Qt::Orientation orientation, const QString& name) {
    auto* slider = new QSlider(orientation);
    slider->setObjectName(name);
    slider->setRange(0, 127);
    slider->setPageStep(8);
    slider->setFocusPolicy(Qt::NoFocus);
    slider->setMaximumWidth(orientation == Qt::Horizontal ? 56 : 24);
    connect(slider, &QSlider::valueChanged, this, [this, slider, control, controller](int value) {
        Touch(control);
        slider->setToolTip(QString::number(controller == Pan ? value - 64 : value));
        if (OnController) OnController(controller, value);
    });
    return slider;
}

QSlider* MixerStrip::Slider(int controller) const {
    switch (controller) {
        case Volume: return volume_;
        case Pan: return pan_;
        case Reverb: return reverb_;
        case Chorus: return chorus_;
        default: return nullptr;
    }
}

bool MixerStrip::UserHolds(Control control) const {
    const QElapsedTimer& touched = touched_[control];
    return touched.isValid() && touched.elapsed() < UserHoldMs;
}

void MixerStrip::ShowValue(Control control, QSlider* slider, int value) {
    // Unknown values (-1) leave the slider alone; a slider in the user's hand is theirs.
    if (value < 0 || value > 127 || slider->value() == value) return;
    if (slider->isSliderDown() || UserHolds(control)) return;
    const QSignalBlocker quiet(slider);
    slider->setValue(value);
}

void MixerStrip::Show(const app::MixerChannelView& view) {
    const QString name = QString::fromUtf8(view.Instrument.c_str());
    if (instrument_->toolTip() != name) {
        instrument_->setToolTip(name);
        // What two lines hold; a longer name ends in "…" (the tool tip has it whole).
        instrument_->setText(instrument_->fontMetrics().elidedText(name, Qt::ElideRight, 2 * instrument_->width() - 8));
    }
    ShowValue(VolumeControl, volume_, view.Volume);
    ShowValue(PanControl, pan_, view.Pan);
    ShowValue(ReverbControl, reverb_, view.Reverb);
    ShowValue(ChorusControl, chorus_, view.Chorus);
    if (mute_->isChecked() != view.Muted && !UserHolds(MuteControl)) {
        const QSignalBlocker quiet(mute_);
        mute_->setChecked(view.Muted);
    }
    if (!UserHolds(SoloControl)) SetSoloShown(view.Soloed);
}

void MixerStrip::SoloTakenAway() {
    SetSoloShown(false);
    Touch(SoloControl);
}

void MixerStrip::SetSoloShown(bool soloed) {
    if (solo_->isChecked() == soloed) return;
    const QSignalBlocker quiet(solo_);
    solo_->setChecked(soloed);
}

void MixerStrip::SetLamp(bool lit) {
    if (lit == lampLit_) return;
    lampLit_ = lit;
    lamp_->setStyleSheet(lit ? LampOn : LampOff);
}

}  // namespace chordella::ui
