#include "ui/AudioPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace chordella::ui {
namespace {

QComboBox* MakeList(const QString& name) {
    auto* list = new QComboBox;
    list->setObjectName(name);
    return list;
}

QSlider* MakeSlider(const QString& name) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(name);
    slider->setRange(0, 100);
    slider->setPageStep(10);
    return slider;
}

// Selects the entry whose data is `value`; a value the list does not offer is added.
void SelectData(QComboBox* list, const QVariant& value, const QString& text) {
    int index = list->findData(value);
    if (index < 0) {
        list->addItem(text, value);
        index = list->count() - 1;
    }
    list->setCurrentIndex(index);
}

QString Millis(double ms) { return QString::number(ms, 'f', 1) + " ms"; }

}  // namespace

AudioPage::AudioPage(QWidget* parent) : QWidget(parent) {
    setObjectName("AudioPage");
    auto* form = new QFormLayout(this);
    form->addRow("Audio driver", BuildDriverRow());
    device_ = MakeList("AudioDevice");
    device_->setEditable(true);
    form->addRow("Device", device_);
    sampleRate_ = MakeList("SampleRate");
    for (int rate : midi::SampleRates) sampleRate_->addItem(QString::number(rate) + " Hz", rate);
    form->addRow("Sample rate", sampleRate_);

    auto* bufferRow = new QWidget;
    auto* bufferLayout = new QHBoxLayout(bufferRow);
    bufferLayout->setContentsMargins(0, 0, 0, 0);
    buffer_ = MakeList("AudioBuffer");
    for (int frames : midi::BufferSizes) buffer_->addItem(QString::number(frames) + " frames", frames);
    latency_ = new QLabel;
    latency_->setObjectName("AudioLatency");
    bufferLayout->addWidget(buffer_);
    bufferLayout->addWidget(latency_, 1);
    form->addRow("Buffer size", bufferRow);

    auto* fontRow = new QWidget;
    auto* fontLayout = new QHBoxLayout(fontRow);
    fontLayout->setContentsMargins(0, 0, 0, 0);
    soundFont_ = MakeList("SoundFont");
    soundFont_->addItem("Automatic (the best General MIDI SoundFont installed)", QString());
    auto* choose = new QPushButton("Choose\u2026");
    choose->setObjectName("ChooseSoundFont");
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "SoundFont", "/usr/share/sounds",
                                                          "SoundFonts (*.sf2 *.sf3);;All files (*)");
        if (!path.isEmpty()) ChooseSoundFont(path);
    });
    fontLayout->addWidget(soundFont_, 1);
    fontLayout->addWidget(choose);
    form->addRow("SoundFont", fontRow);

    auto* volumeRow = new QWidget;
    auto* volumeLayout = new QHBoxLayout(volumeRow);
    volumeLayout->setContentsMargins(0, 0, 0, 0);
    volume_ = MakeSlider("MasterVolume");
    volumeValue_ = new QLabel;
    volumeValue_->setMinimumWidth(48);
    connect(volume_, &QSlider::valueChanged, this, [this](int value) { volumeValue_->setText(QString("%1 %").arg(value)); });
    volumeLayout->addWidget(volume_, 1);
    volumeLayout->addWidget(volumeValue_);
    form->addRow("Master volume", volumeRow);
    reverb_ = new QCheckBox("Reverb");
    reverb_->setObjectName("Reverb");
    form->addRow(BuildLevel(reverb_, reverbLevel_, "ReverbLevel"));
    chorus_ = new QCheckBox("Chorus");
    chorus_->setObjectName("Chorus");
    form->addRow(BuildLevel(chorus_, chorusLevel_, "ChorusLevel"));

    inUse_ = new QLabel;
    inUse_->setObjectName("AudioInUse");
    inUse_->setWordWrap(true);
    form->addRow(inUse_);
    auto* note = new QLabel(
        "Volume, reverb and chorus change at once; the driver, device, rate, buffer and SoundFont when the music "
        "is stopped.");
    note->setWordWrap(true);
    form->addRow(note);

    connect(buffer_, &QComboBox::currentIndexChanged, this, [this] { UpdateLatency(); });
    connect(sampleRate_, &QComboBox::currentIndexChanged, this, [this] { UpdateLatency(); });
    ShowOptions(core::Options{});
}

QWidget* AudioPage::BuildDriverRow() {
    driver_ = MakeList("AudioDriver");
    for (std::string_view caption : midi::AudioDriverCaptions)
        driver_->addItem(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    connect(driver_, &QComboBox::currentIndexChanged, this, [this] {
        UpdateDriverFields();
        UpdateLatency();
    });
    return driver_;
}

QWidget* AudioPage::BuildLevel(QCheckBox* box, QSlider*& slider, const QString& name) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    slider = MakeSlider(name);
    box->setMinimumWidth(90);
    layout->addWidget(box);
    layout->addWidget(slider, 1);
    QSlider* level = slider;
    connect(box, &QCheckBox::toggled, level, &QSlider::setEnabled);
    return row;
}

midi::AudioDriver AudioPage::ShownDriver() const {
    const int index = driver_->currentIndex();
    return index < 0 ? midi::AudioDriver::Automatic : static_cast<midi::AudioDriver>(index);
}

// Under JACK the server's rate and period rule; ALSA names its devices.
void AudioPage::UpdateDriverFields() {
    const midi::AudioDriver driver = ShownDriver();
    const bool jack =
        driver == midi::AudioDriver::Jack || (driver == midi::AudioDriver::Automatic && choices_.JackRuns);
    sampleRate_->setEnabled(!jack);
    buffer_->setEnabled(!jack);
    const QString device = device_->currentText();
    device_->clear();
    device_->addItem("");
    if (driver == midi::AudioDriver::Alsa)
        for (const std::string& name : choices_.AlsaDevices) device_->addItem(QString::fromStdString(name));
    device_->setEnabled(driver == midi::AudioDriver::Alsa || driver == midi::AudioDriver::PulseAudio);
    device_->setCurrentText(device);
}

void AudioPage::UpdateLatency() {
    const midi::AudioDriver driver = ShownDriver();
    const auto& inUse = choices_.InUse;
    const bool jack =
        driver == midi::AudioDriver::Jack || (driver == midi::AudioDriver::Automatic && choices_.JackRuns);
    if (jack) {
        QString text = "set by the JACK server";
        if (inUse && inUse->Playing && inUse->Driver == midi::AudioDriver::Jack)
            text += QString(": %1 frames at %2 Hz = %3 + %4 playback")
                        .arg(inUse->BufferFrames)
                        .arg(inUse->SampleRate)
                        .arg(Millis(midi::BufferMillis(inUse->BufferFrames, inUse->SampleRate)))
                        .arg(Millis(midi::BufferMillis(inUse->PlaybackLatencyFrames, inUse->SampleRate)));
        latency_->setText(text);
        return;
    }
    const int frames = buffer_->currentData().toInt();
    const int rate = sampleRate_->currentData().toInt();
    latency_->setText(QString("= %1 (%2 \u00d7 %3 frames)")
                          .arg(Millis(midi::BufferMillis(frames * midi::AudioSettings::Periods, rate)))
                          .arg(midi::AudioSettings::Periods)
                          .arg(frames));
}

void AudioPage::SelectSoundFont(const std::string& path) {
    const QString file = QString::fromStdString(path);
    SelectData(soundFont_, file, file);
}

void AudioPage::ChooseSoundFont(const QString& path) { SelectData(soundFont_, path, path); }

void AudioPage::ShowOptions(const core::Options& options) {
    const auto driver = midi::ParseAudioDriver(options.AudioDriver).value_or(midi::AudioDriver::Automatic);
    driver_->setCurrentIndex(static_cast<int>(driver));
    UpdateDriverFields();
    device_->setCurrentText(QString::fromStdString(options.AudioDevice));
    SelectData(sampleRate_, options.SampleRate, QString::number(options.SampleRate) + " Hz");
    SelectData(buffer_, options.AudioBuffer, QString::number(options.AudioBuffer) + " frames");
    SelectSoundFont(options.SoundFont);
    volume_->setValue(options.SynthVolume);
    volumeValue_->setText(QString("%1 %").arg(options.SynthVolume));
    reverb_->setChecked(options.SynthReverb);
    reverbLevel_->setValue(options.SynthReverbLevel);
    reverbLevel_->setEnabled(options.SynthReverb);
    chorus_->setChecked(options.SynthChorus);
    chorusLevel_->setValue(options.SynthChorusLevel);
    chorusLevel_->setEnabled(options.SynthChorus);
    UpdateLatency();
}

void AudioPage::ShowChoices(const desktop::AudioChoices& choices) {
    choices_ = choices;
    const QString chosen = soundFont_->currentData().toString();
    while (soundFont_->count() > 1) soundFont_->removeItem(1);
    for (const midi::InstalledSoundFont& font : choices.SoundFonts) {
        const QString file = QString::fromStdString(font.Path);
        const QString name = font.Info.Name.empty() ? QFileInfo(file).fileName() : QString::fromStdString(font.Info.Name);
        soundFont_->addItem(name + "  (" + file + ")", file);
    }
    SelectData(soundFont_, chosen, chosen);
    if (!choices.SoundFonts.empty()) {
        const auto& best = choices.SoundFonts.front().Info.Name;
        soundFont_->setItemText(0, "Automatic: " + QString::fromStdString(best.empty() ? choices.SoundFonts.front().Path : best));
    }
    UpdateDriverFields();
    UpdateLatency();
    QString text;
    if (!choices.InUse) {
        text = "This program has no built-in synth.";
    } else if (choices.InUse->Playing) {
        const midi::SynthStatus& s = *choices.InUse;
        const std::string_view driver = midi::AudioDriverCaption(s.Driver);
        text = QString("In use: %1%2, %3 Hz, %4 \u00d7 %5 frames, %6 from key to speaker; SoundFont %7")
                   .arg(QString::fromUtf8(driver.data(), static_cast<qsizetype>(driver.size())))
                   .arg(s.Device.empty() ? QString() : " " + QString::fromStdString(s.Device))
                   .arg(s.SampleRate)
                   .arg(s.Periods)
                   .arg(s.BufferFrames)
                   .arg(Millis(s.LatencyMillis()))
                   .arg(QString::fromStdString(s.SoundFontName.empty() ? s.SoundFont : s.SoundFontName));
    } else {
        text = choices.InUse->Problem.empty() ? "The built-in synth is not playing (another MIDI output is chosen)."
                                              : "The built-in synth does not play: " +
                                                    QString::fromStdString(choices.InUse->Problem) + ".";
    }
    inUse_->setText(text);
}

void AudioPage::WriteInto(core::Options& options) const {
    options.AudioDriver = std::string(midi::AudioDriverName(ShownDriver()));
    options.AudioDevice = device_->currentText().trimmed().toStdString();
    if (sampleRate_->currentIndex() >= 0) options.SampleRate = sampleRate_->currentData().toInt();
    if (buffer_->currentIndex() >= 0) options.AudioBuffer = buffer_->currentData().toInt();
    options.SoundFont = soundFont_->currentData().toString().toStdString();
    options.SynthVolume = volume_->value();
    options.SynthReverb = reverb_->isChecked();
    options.SynthReverbLevel = reverbLevel_->value();
    options.SynthChorus = chorus_->isChecked();
    options.SynthChorusLevel = chorusLevel_->value();
}

}  // namespace chordella::ui
