#include "ui/MixerPanel.h"

#include <QHBoxLayout>
#include <QPushButton>
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
    layout->addWidget(reset, 0, Qt::AlignLeft);

    lampTimer_ = new QTimer(this);
    lampTimer_->setInterval(LampHoldMs / 2);
    connect(lampTimer_, &QTimer::timeout, this, [this] { DimLamps(); });
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
