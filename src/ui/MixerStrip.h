#pragma once
// One channel of the mixer: instrument name, volume, pan, reverb and chorus, mute, solo
// and the activity lamp. It forwards what the user changes and shows what the core reports;
// showing never sends anything back.

#include <QWidget>
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

    explicit MixerStrip(int channel, QWidget* parent = nullptr);

    std::function<void(int controller, int value)> OnController;
    std::function<void(bool muted)> OnMute;
    std::function<void(bool soloed)> OnSolo;

    // Shows the channel as the core reports it; a slider the user holds keeps its place.
    void Show(const app::MixerChannelView& view);
    void SetSoloShown(bool soloed);
    void SetLamp(bool lit);
    bool LampLit() const { return lampLit_; }
    QSlider* Slider(int controller) const;

private:
    QSlider* MakeSlider(int controller, Qt::Orientation orientation, const QString& name);
    static void ShowValue(QSlider* slider, int value);

    QLabel* instrument_ = nullptr;
    QSlider* volume_ = nullptr;
    QSlider* pan_ = nullptr;
    QSlider* reverb_ = nullptr;
    QSlider* chorus_ = nullptr;
    QCheckBox* mute_ = nullptr;
    QAbstractButton* solo_ = nullptr;
    QLabel* lamp_ = nullptr;
    bool lampLit_ = false;
};

}  // namespace chordella::ui
