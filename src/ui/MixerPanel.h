#pragma once
// The mixer: sixteen channel strips, "C. Reset", the play boxes of the performance and
// "Store" (the voice channel's instrument and bars onto an instrument key). What the user
// moves goes to the core as controllers 7, 10, 91 and 93, mutes and the solo channel;
// Refresh shows what the core reports without sending it back. A channel's lamp lights while its note-on count moves
// and goes dark a moment after it stops.

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <cstdint>

#include "ui/CoreLink.h"

class QCheckBox;
class QHBoxLayout;
class QSpinBox;
class QTimer;

namespace chordella::ui {

class MixerStrip;

class MixerPanel : public QWidget {
public:
    static constexpr int LampHoldMs = 200;

    explicit MixerPanel(CoreLink& link, QWidget* parent = nullptr);

    void Refresh(const app::DisplaySnapshot& snapshot);
    MixerStrip* Strip(int channel) const { return strips_[static_cast<std::size_t>(channel)]; }

private:
    void AddPlayBoxes(QHBoxLayout& row);
    void AddKeyStore(QHBoxLayout& row);
    void Solo(int channel, bool on);
    void DimLamps();

    CoreLink& link_;
    std::array<MixerStrip*, app::MixerChannels> strips_{};
    std::array<std::uint32_t, app::MixerChannels> noteOns_{};
    std::array<QElapsedTimer, app::MixerChannels> lastNote_{};
    bool counted_ = false;  // noteOns_ holds a count to compare with
    QTimer* lampTimer_ = nullptr;
    std::array<QCheckBox*, app::PlayBoxCount> playBoxes_{};
    QSpinBox* chordCodeChannel_ = nullptr;
    QSpinBox* storeKey_ = nullptr;
};

}  // namespace chordella::ui
