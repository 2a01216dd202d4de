// The options window's "Audio" page as a player uses it: it shows the synth's settings and
// what is installed, says what a buffer size costs in time, and OK sends what was chosen.
#include "ui/AudioPage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include "ui/OptionsWindow.h"
#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

class AudioPageTest : public ::testing::Test {
protected:
    QApplication& app = testing::QtTestApp();  // before any widget
    AudioPageTest() {
        link.Audio.SoundFonts = {{"/usr/share/sounds/sf3/MuseScore_General_Lite.sf3", {"MuseScore General", 128, true}},
                                 {"/usr/share/sounds/sf2/TimGM6mb.sf2", {"TimGM6mb", 128, true}}};
        link.Audio.AlsaDevices = {"default", "hw:CARD=PCH,DEV=0"};
        midi::SynthStatus playing;
        playing.Playing = true;
        playing.Driver = midi::AudioDriver::PulseAudio;
        playing.SampleRate = 48000;
        playing.BufferFrames = 128;
        playing.Periods = 2;
        playing.SoundFontName = "MuseScore General";
        link.Audio.InUse = playing;
        link.StoredOptions.SynthVolume = 80;
    }
    void Open() {
        window = std::make_unique<OptionsWindow>(link);
        window->show();
        auto* tabs = window->findChild<QTabWidget*>();
        for (int page = 0; page < tabs->count(); ++page)
            if (tabs->tabText(page) == "Audio") tabs->setCurrentIndex(page);
    }
    template <typename T>
    T* Field(const char* name) {
        auto* field = window->findChild<T*>(name);
        EXPECT_NE(field, nullptr) << name;
        return field;
    }
    QString Latency() { return Field<QLabel>("AudioLatency")->text(); }
    void Ok() { QTest::mouseClick(window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton); }

    testing::RecordingCoreLink link;
    std::unique_ptr<OptionsWindow> window;
};

TEST_F(AudioPageTest, ShowsTheSettingsTheFontsAndWhatTheSynthUsesAndTheLatencyFollowsTheBuffer) {
    Open();
    auto* fonts = Field<QComboBox>("SoundFont");
    ASSERT_EQ(fonts->count(), 3);
    EXPECT_TRUE(fonts->itemText(0).startsWith("Automatic: MuseScore General"));
    EXPECT_TRUE(fonts->itemText(2).contains("TimGM6mb.sf2"));
    EXPECT_EQ(fonts->currentIndex(), 0) << "no SoundFont chosen: the best one installed";
    EXPECT_EQ(Field<QSlider>("MasterVolume")->value(), 80);
    EXPECT_EQ(Latency(), "= 5.3 ms (2 \u00d7 128 frames)");
    const QString inUse = Field<QLabel>("AudioInUse")->text();
    EXPECT_TRUE(inUse.contains("PipeWire/PulseAudio")) << inUse.toStdString();
    EXPECT_TRUE(inUse.contains("5.3 ms from key to speaker")) << inUse.toStdString();

    // The latency follows the buffer, and JACK decides its own.
    Field<QComboBox>("AudioBuffer")->setCurrentIndex(Field<QComboBox>("AudioBuffer")->findData(512));
    EXPECT_EQ(Latency(), "= 21.3 ms (2 \u00d7 512 frames)");
    Field<QComboBox>("SampleRate")->setCurrentIndex(Field<QComboBox>("SampleRate")->findData(96000));
    EXPECT_EQ(Latency(), "= 10.7 ms (2 \u00d7 512 frames)");
    auto* driver = Field<QComboBox>("AudioDriver");
    driver->setCurrentIndex(static_cast<int>(midi::AudioDriver::Alsa));
    EXPECT_TRUE(Field<QComboBox>("AudioDevice")->isEnabled());
    EXPECT_GE(Field<QComboBox>("AudioDevice")->findText("hw:CARD=PCH,DEV=0"), 0);
    driver->setCurrentIndex(static_cast<int>(midi::AudioDriver::Jack));
    EXPECT_FALSE(Field<QComboBox>("AudioBuffer")->isEnabled());
    EXPECT_FALSE(Field<QComboBox>("SampleRate")->isEnabled());
    EXPECT_TRUE(Latency().startsWith("set by the JACK server"));
}

TEST_F(AudioPageTest, OkSendsEverySettingAsChosen) {
    Open();
    Field<QComboBox>("AudioDriver")->setCurrentIndex(static_cast<int>(midi::AudioDriver::Alsa));
    Field<QComboBox>("AudioDevice")->setCurrentText("hw:CARD=PCH,DEV=0");
    Field<QComboBox>("SampleRate")->setCurrentIndex(Field<QComboBox>("SampleRate")->findData(44100));
    Field<QComboBox>("AudioBuffer")->setCurrentIndex(Field<QComboBox>("AudioBuffer")->findData(64));
    // The page is not a Q_OBJECT of its own: found by its name, not its class.
    static_cast<AudioPage*>(Field<QWidget>("AudioPage"))->ChooseSoundFont("/home/me/Arachno.sf2");
    Field<QSlider>("MasterVolume")->setValue(65);
    QTest::mouseClick(Field<QCheckBox>("Reverb"), Qt::LeftButton, {}, QPoint(6, 6));
    Field<QSlider>("ChorusLevel")->setValue(70);
    Ok();
    ASSERT_EQ(link.Applied.size(), 1u);
    const core::Options& sent = link.Applied.front();
    EXPECT_EQ(sent.AudioDriver, "alsa");
    EXPECT_EQ(sent.AudioDevice, "hw:CARD=PCH,DEV=0");
    EXPECT_EQ(sent.SampleRate, 44100);
    EXPECT_EQ(sent.AudioBuffer, 64);
    EXPECT_EQ(sent.SoundFont, "/home/me/Arachno.sf2");
    EXPECT_EQ(sent.SynthVolume, 65);
    EXPECT_FALSE(sent.SynthReverb);
    EXPECT_EQ(sent.SynthReverbLevel, core::Options{}.SynthReverbLevel);
    EXPECT_TRUE(sent.SynthChorus);
    EXPECT_EQ(sent.SynthChorusLevel, 70);
}

}  // namespace
}  // namespace chordella::ui
