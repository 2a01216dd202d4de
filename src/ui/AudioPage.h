#pragma once
// The options window's "Audio" page: the built-in synth's audio driver, device, sample rate,
// buffer size with the latency it gives, SoundFont (the General MIDI SoundFonts installed
// or a file of the player's choice), master volume, reverb and chorus, and what the synth
// uses now. It shows the options and writes them back; the core applies them.

#include <QWidget>

#include "core/Options.h"
#include "desktop/DesktopAudio.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;

namespace chordella::ui {

class AudioPage : public QWidget {
public:
    explicit AudioPage(QWidget* parent = nullptr);

    void ShowOptions(const core::Options& options);
    void ShowChoices(const desktop::AudioChoices& choices);
    void WriteInto(core::Options& options) const;

    // The file dialog of "Choose…" would block a test: it calls this with the file chosen.
    void ChooseSoundFont(const QString& path);

private:
    QWidget* BuildDriverRow();
    QWidget* BuildLevel(QCheckBox* box, QSlider*& slider, const QString& name);
    void UpdateLatency();
    void UpdateDriverFields();
    void SelectSoundFont(const std::string& path);
    midi::AudioDriver ShownDriver() const;

    desktop::AudioChoices choices_;
    QComboBox* driver_ = nullptr;
    QComboBox* device_ = nullptr;
    QComboBox* sampleRate_ = nullptr;
    QComboBox* buffer_ = nullptr;
    QLabel* latency_ = nullptr;
    QComboBox* soundFont_ = nullptr;
    QSlider* volume_ = nullptr;
    QLabel* volumeValue_ = nullptr;
    QCheckBox* reverb_ = nullptr;
    QSlider* reverbLevel_ = nullptr;
    QCheckBox* chorus_ = nullptr;
    QSlider* chorusLevel_ = nullptr;
    QLabel* inUse_ = nullptr;
};

}  // namespace chordella::ui
