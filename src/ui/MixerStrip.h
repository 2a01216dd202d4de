#pragma once
// One channel of the mixer: instrument name, volume, pan, reverb and chorus, mute, solo
// and the activity lamp. It forwards what the user changes and shows what the core reports;
// showing never sends anything back. A control the user holds, or changed a moment ago,
// keeps the user's value: the core's report of it may still be on its way.

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "app/DisplaySnapshot.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QSlider;

namespace chordella::ui {

class MixerStrip : public QWidget {
public:
    // The mixer's controllers, in the order of the strip's sliders.
    static constexpr int Volume = 7;
    static constexpr int Pan = 10;
    static constexpr int Reverb = 91;
    static constexpr int Chorus = 93;
    // How long a control changed by the user ignores the core's reports.
    static constexpr int UserHoldMs = 300;

    explicit MixerStrip(int channel, QWidget* parent = nullptr);

    std::function<void(int controller, int value)> OnController;
    std::function<void(bool muted)> OnMute;
    std::function<void(bool soloed)> OnSolo;

    // Shows the channel as the core reports it; a slider the user holds keeps its place.
    void Show(const app::MixerChannelView& view);
    void SetSoloShown(bool soloed);
    // Another channel took the solo: this one shows none, whatever reports are on their way.
    void SoloTakenAway();
    void SetLamp(bool lit);
    bool LampLit() const { return lampLit_; }
    QSlider* Slider(int controller) const;

private:
    enum Control { VolumeControl, PanControl, ReverbControl, ChorusControl, MuteControl, SoloControl, ControlCount };

    QSlider* MakeSlider(Control control, int controller, Qt::Orientation orientation, const QString& name);
    void ShowValue(Control control, QSlider* slider, int value);
    void Touch(Control control) { touched_[control].start(); }
    bool UserHolds(Control control) const;

    QLabel* instrument_ = nullptr;
    QSlider* volume_ = nullptr;
    QSlider* pan_ = nullptr;
    QSlider* reverb_ = nullptr;
    QSlider* chorus_ = nullptr;
    QCheckBox* mute_ = nullptr;
    QAbstractButton* solo_ = nullptr;
    QLabel* lamp_ = nullptr;
    bool lampLit_ = false;
    std::array<QElapsedTimer, ControlCount> touched_{};
};

}  // namespace chordella::ui
