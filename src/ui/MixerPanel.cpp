#include "ui/MixerPanel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/MixerStrip.h"

namespace chordella::ui {

MixerPanel::MixerPanel(CoreLink& link, QWidget* parent) : QWidget(parent), link_(link) {
    setObjectName("MixerPanel");
    auto* layout = new QVBoxLayout(this);
    // Narrow margins: the strips' two-line names and the faders get the page's height.
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    auto* strips = new QHBoxLayout;
    strips->setSpacing(2);
    for (int channel = 0; channel < app::MixerChannels; ++channel) {
        auto* strip = new MixerStrip(channel);
        strip->OnController = [this, channel](int controller, int value) {
            link_.SetChannelController(channel, controller, value);
        };
        strip->OnMute = [this, channel](bool muted) { link_.SetChannelMute(channel, muted); };
        strip->OnSolo = [this, channel](bool on) { Solo(channel, on); };
        strips_[static_cast<std::size_t>(channel)] = strip;
        strips->addWidget(strip);
    }
    auto* reset = new QPushButton("C. Reset");
    reset->setObjectName("ControllerReset");
    reset->setFocusPolicy(Qt::NoFocus);
    connect(reset, &QPushButton::clicked, this, [this] { link_.ResetControllers(); });
    layout->addLayout(strips);
    auto* below = new QHBoxLayout;
    below->addWidget(reset);
    AddPlayBoxes(*below);
    below->addStretch(1);
    AddKeyStore(*below);
    layout->addLayout(below);

    lampTimer_ = new QTimer(this);
    lampTimer_->setInterval(LampHoldMs / 2);
    connect(lampTimer_, &QTimer::timeout, this, [this] { DimLamps(); });
}

void MixerPanel::AddPlayBoxes(QHBoxLayout& row) {
    static constexpr std::array<const char*, app::PlayBoxCount> Captions{
        " Chords", " Instruments ...", " Harmonic PAD, transposed", " Melody Ad Lib",
        " Send Chord Codes  (Controllers #19,  #20)  to Ch."};
    static constexpr std::array<const char*, app::PlayBoxCount> Names{
        "ChordsBox", "InstrumentsBox", "HarmonicPadBox", "MelodyAdLibBox", "SendChordCodesBox"};
    for (std::size_t i = 0; i < Captions.size(); ++i) {
        auto* box = new QCheckBox(Captions[i]);
        box->setObjectName(Names[i]);
        box->setFocusPolicy(Qt::NoFocus);  // the window keeps the keys
        const auto which = static_cast<app::PlayBox>(i);
        connect(box, &QCheckBox::toggled, this, [this, which](bool on) { link_.SetPlayBox(which, on); });
        playBoxes_[i] = box;
        row.addWidget(box);
    }
    chordCodeChannel_ = new QSpinBox;
    chordCodeChannel_->setObjectName("ChordCodeChannel");
    chordCodeChannel_->setRange(1, 16);
    chordCodeChannel_->setFocusPolicy(Qt::ClickFocus);
    connect(chordCodeChannel_, &QSpinBox::valueChanged, this, [this](int channel) { link_.SetChordCodeChannel(channel - 1); });
    row.addWidget(chordCodeChannel_);
}

void MixerPanel::AddKeyStore(QHBoxLayout& row) {
    storeKey_ = new QSpinBox;
    storeKey_->setObjectName("StoreKey");
    storeKey_->setRange(1, 12);
    storeKey_->setPrefix("Key ");
    storeKey_->setFocusPolicy(Qt::ClickFocus);
    auto* store = new QPushButton("Store");
    store->setObjectName("StoreInstrumentKey");
    store->setFocusPolicy(Qt::NoFocus);
    store->setToolTip("The voice channel's instrument with its Vol, Pan, Rev and Cho becomes this instrument key");
    connect(store, &QPushButton::clicked, this, [this] {
        desktop::InstrumentRequest request;
        request.Action = desktop::InstrumentAction::StoreFromMixer;
        request.Key = storeKey_->value() - 1;
        link_.InstrumentSets(request, {});
    });
    row.addWidget(store);
    row.addWidget(storeKey_);
}

// One channel solos at a time: soloing another takes the solo from the first.
void MixerPanel::Solo(int channel, bool on) {
    for (int other = 0; other < app::MixerChannels; ++other)
        if (other != channel) Strip(other)->SoloTakenAway();
    link_.SetSolo(on ? channel + 1 : 0);
}

void MixerPanel::Refresh(const app::DisplaySnapshot& snapshot) {
    for (std::size_t channel = 0; channel < strips_.size(); ++channel) {
        const app::MixerChannelView& view = snapshot.Channels[channel];
        strips_[channel]->Show(view);
        if (counted_ && view.NoteOns != noteOns_[channel]) {
            strips_[channel]->SetLamp(true);
            lastNote_[channel].start();
            if (!lampTimer_->isActive()) lampTimer_->start();
        }
        noteOns_[channel] = view.NoteOns;
    }
    counted_ = true;
    for (std::size_t i = 0; i < playBoxes_.size(); ++i) {
        const QSignalBlocker quiet(playBoxes_[i]);
        playBoxes_[i]->setChecked(snapshot.PlayBoxes[i]);
    }
    if (!chordCodeChannel_->hasFocus()) {
        const QSignalBlocker quiet(chordCodeChannel_);
        chordCodeChannel_->setValue(snapshot.ChordCodeChannel + 1);
    }
}

void MixerPanel::DimLamps() {
    bool anyLit = false;
    for (std::size_t channel = 0; channel < strips_.size(); ++channel) {
        if (!strips_[channel]->LampLit()) continue;
        if (lastNote_[channel].elapsed() >= LampHoldMs)
            strips_[channel]->SetLamp(false);
        else
            anyLit = true;
    }
    if (!anyLit) lampTimer_->stop();
}

}  // namespace chordella::ui
