#include "ui/OptionsWindow.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "ui/AudioPage.h"
#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

class OptionsWindowTest : public ::testing::Test {
protected:
    QApplication& app = testing::QtTestApp();  // before any widget
    OptionsWindowTest() {
        link.Ports.Outputs = {"Built-in synth", "USB Sound Module"};
        link.Ports.Inputs = {"USB Keyboard"};
        link.StoredOptions.MidiOut = "USB Sound Module";
        link.StoredOptions.SongDirectory = "/music/songs";
    }

    // The field, on its page brought to the front (as the user would, to reach it).
    template <typename T>
    T* Field(const char* name) {
        auto* field = window->findChild<T*>(name);
        EXPECT_NE(field, nullptr) << name;
        auto* tabs = window->findChild<QTabWidget*>();
        for (int page = 0; field && page < tabs->count(); ++page)
            if (tabs->widget(page)->isAncestorOf(field)) tabs->setCurrentIndex(page);
        return field;
    }
    QStringList Entries(const char* name) {
        QStringList entries;
        auto* list = Field<QComboBox>(name);
        for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
        return entries;
    }
    void Open() {
        window = std::make_unique<OptionsWindow>(link);
        window->show();
    }
    // Clicks a check box on its box (the row may be wider than its caption).
    void Tick(const char* name) {
        auto* box = Field<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    void Click(QDialogButtonBox::StandardButton which) {
        QTest::mouseClick(window->findChild<QDialogButtonBox*>()->button(which), Qt::LeftButton);
    }

    testing::RecordingCoreLink link;
    std::unique_ptr<OptionsWindow> window;
};

TEST_F(OptionsWindowTest, AnEmptyMainOutputShowsTheBuiltInSynthItPlaysThroughAndOkKeepsItEmpty) {
    link.Ports.BuiltInSynth = "Built-in synth";
    link.StoredOptions.MidiOut.clear();
    Open();
    EXPECT_EQ(Field<QComboBox>("MidiOut")->currentText(), "Built-in synth");
    Click(QDialogButtonBox::Ok);
    ASSERT_EQ(link.Applied.size(), 1u);
    EXPECT_EQ(link.Applied[0].MidiOut, "") << "stored as before: the synth is the empty name's output";

    // Without a synth the empty name still shows as no output.
    link.Ports.BuiltInSynth.clear();
    link.Ports.Outputs = {"USB Sound Module"};
    Open();
    EXPECT_EQ(Field<QComboBox>("MidiOut")->currentText(), "<None>");
}

TEST_F(OptionsWindowTest, OkSendsTheEditedOptionsAndKeepsTheRest) {
    Open();
    auto* midiIn = Field<QComboBox>("MidiIn");
    midiIn->setFocus();
    QTest::keyClick(midiIn, Qt::Key_Up);  // "<None>" → "USB Keyboard"
    Field<QComboBox>("FillInKeyNote")->setCurrentIndex(5);
    Field<QSpinBox>("LastAccKeyOctave")->setValue(5);
    Field<QComboBox>("Quantize")->setCurrentIndex(3);
    Tick("TwoFinger");
    Tick("MidiOutGeneralMidi");
    Tick("Metronome");
    Tick("AutoSaveSettings");
    Field<QSpinBox>("VelocityOffset")->setValue(-12);
    Field<QComboBox>("PadChannel")->setCurrentIndex(2);
    Click(QDialogButtonBox::Ok);

    ASSERT_EQ(link.Applied.size(), 1u);
    const core::Options& sent = link.Applied.front();
    EXPECT_EQ(sent.MidiIn, "USB Keyboard");
    EXPECT_EQ(sent.MidiOut, "USB Sound Module");
    EXPECT_EQ(sent.MidiSubOut, "");
    EXPECT_TRUE(sent.MidiOutGeneralMidi) << "the sound module is marked General MIDI";
    EXPECT_FALSE(sent.MidiSubOutGeneralMidi);
    EXPECT_EQ(sent.FillInKeyNote, 5);
    EXPECT_EQ(sent.FillInKeyOctave, 3);
    EXPECT_EQ(sent.LastAccKeyOctave, 5);
    EXPECT_EQ(sent.Quantize, 3);
    EXPECT_TRUE(sent.TwoFingerChords);
    EXPECT_TRUE(sent.Metronome);
    EXPECT_FALSE(sent.AutoSaveSettings);
    EXPECT_EQ(sent.MelodyVelocityOffset, -12);
    EXPECT_EQ(sent.PadChannel, 2);
    EXPECT_EQ(sent.PadInstrument, 89);
    EXPECT_EQ(sent.SongDirectory, "/music/songs");
}

// The port choosers list the ports, then "<None>", and show the configured ones, also one
// that is not there now, which OK keeps; Cancel sends nothing.
TEST_F(OptionsWindowTest, PortChoosersShowTheConfiguredPortsEvenOneNotThereNowAndCancelSendsNothing) {
    link.StoredOptions.MidiSubIn = "Unplugged Pedal Board";
    Open();
    EXPECT_EQ(Entries("MidiOut"), (QStringList{"Built-in synth", "USB Sound Module", "<None>"}));
    EXPECT_EQ(Entries("MidiIn"), (QStringList{"USB Keyboard", "<None>"}));
    EXPECT_EQ(Field<QComboBox>("MidiOut")->currentText(), "USB Sound Module");
    EXPECT_EQ(Field<QComboBox>("MidiIn")->currentText(), "<None>");
    Tick("TriadChords");
    Click(QDialogButtonBox::Cancel);
    EXPECT_TRUE(link.Applied.empty());
    Open();
    EXPECT_EQ(Field<QComboBox>("MidiSubIn")->currentText(), "Unplugged Pedal Board");
    Click(QDialogButtonBox::Ok);
    ASSERT_EQ(link.Applied.size(), 1u);
    EXPECT_EQ(link.Applied.front().MidiSubIn, "Unplugged Pedal Board");
}

// A chosen mode acts at once and OK keeps its switches; the metrum 1/8 chooses the 1/8 grid.
TEST_F(OptionsWindowTest, AChosenModeActsAtOnceAndOkKeepsItsSwitchesAndTheMetrumOneEighthSetsTheGrid) {
    link.OnMode = [this](int mode) {
        if (mode == 1) link.StoredOptions.PlayChords = true;
    };
    Open();
    auto* metrum = Field<QComboBox>("Metrum");
    metrum->setFocus();
    QTest::keyClick(metrum, Qt::Key_End);
    EXPECT_EQ(metrum->currentText(), "1/8");
    EXPECT_EQ(Field<QComboBox>("Quantize")->currentText(), "1/8");
    auto* mode = Field<QComboBox>("OperatingMode");
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Down);
    EXPECT_EQ(link.CallsStartingWith("Mode"), std::vector<std::string>{"Mode 1"});
    Click(QDialogButtonBox::Ok);
    ASSERT_EQ(link.Applied.size(), 1u);
    EXPECT_TRUE(link.Applied.front().PlayChords);
}

// The "Audio" page as a player uses it: it shows the synth's settings and what is installed,
// says what a buffer size costs in time, and OK sends what was chosen.
class AudioPageTest : public OptionsWindowTest {
protected:
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
    QString Latency() { return Field<QLabel>("AudioLatency")->text(); }
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
    Click(QDialogButtonBox::Ok);
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
