// Clicking the real window: the chord pads, the section buttons, the " Edit" box, the
// mixer page's play boxes and "Store", and the on-screen keyboard, through the host to the
// core and the MIDI output.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "app/LiveArranger.h"
#include "chords/ChordEntry.h"
#include "chords/ScreenKeyboard.h"
#include "core/Session.h"
#include "remote/InstrumentKeys.h"
#include "remote/RemoteControl.h"
#include "support/RecordingEditor.h"
#include "ui/DisplayText.h"
#include "ui/MixerPanel.h"
#include "ui/MixerStrip.h"
#include "ui/TKeys.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

QPushButton* Pad(ui::MainWindow& window, const char* name) {
    auto* pad = window.findChild<QPushButton*>(name);
    EXPECT_NE(pad, nullptr) << name;
    return pad;
}

void ClickPad(ui::MainWindow& window, const char* name) {
    if (QPushButton* pad = Pad(window, name)) QTest::mouseClick(pad, Qt::LeftButton);
}

TEST(MainWindowPads, APadPlaysItsChordTheWindowShowsItButWithEditTickedItGoesToTheEditor) {
    WindowRig rig;
    // Which chord a pad plays and what the core hands the editor are app/DesktopCoreTest's; here
    // the clicks reach the core and the window shows what it answers.
    ClickPad(rig.Window(), "D04");
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.Window().windowTitle() == "Chordella  -  Chord : Ab min7"; }, 30000))
        << rig.Window().windowTitle().toStdString();
    auto* display = rig.Window().findChild<ui::DisplayText*>("ChordDisplay");
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return display->text() == "Ab min7"; }, 30000));

    for (const char* name : {"L00", "L01", "L02", "L03", "L04"})
        EXPECT_EQ(rig.Window().findChildren<QPushButton*>(name).size(), 1) << name << ": the section buttons are there once";

    // With " Edit" ticked a pad hands its chord to the editor and plays nothing.
    RecordingEditor editor;
    rig.Host().Barrier([&](desktop::DesktopCore& core) { core.SetPadEditor(&editor); });
    auto* edit = rig.Window().findChild<QCheckBox*>("EditBox");
    ASSERT_NE(edit, nullptr);
    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_TRUE(edit->isChecked());
    rig.ClearSent(SynthOutput);

    ClickPad(rig.Window(), "B00");
    const auto taken = rig.Read([&](desktop::DesktopCore& core) {
        core.SetPadEditor(nullptr);
        return editor.Taken;
    });
    EXPECT_EQ(taken.size(), 1u);
    EXPECT_TRUE(rig.NoteOns(SynthOutput).empty()) << "no chord was played";
}

TEST(MainWindowMixer, ThePlayBoxesSwitchTheirOptionsAndStoreGivesAKeyTheVoiceChannelsInstrumentAndBars) {
    WindowRig rig;
    // The first start's guide is closed and the mixer page shown.
    if (auto* guide = rig.Window().findChild<QPushButton*>("GuideClose"); guide != nullptr && guide->isVisible())
        QTest::mouseClick(guide, Qt::LeftButton);
    rig.Window().ShowPanels(2, true, true);
    // The page is the panel (a widget without a meta-object of its own: found by its name).
    auto* mixer = static_cast<ui::MixerPanel*>(rig.Window().findChild<QWidget*>("Mixer"));
    ASSERT_NE(mixer, nullptr);
    ASSERT_TRUE(mixer->isVisible());
    auto box = [mixer](const char* name) {
        auto* found = mixer->findChild<QCheckBox*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    };
    for (const char* name : {"ChordsBox", "HarmonicPadBox", "MelodyAdLibBox", "SendChordCodesBox"})
        QTest::mouseClick(box(name), Qt::LeftButton);
    mixer->findChild<QSpinBox*>("ChordCodeChannel")->setValue(3);
    const core::Options options = rig.Options();
    EXPECT_FALSE(options.ChordInput);
    EXPECT_TRUE(options.HarmonicPad);
    EXPECT_TRUE(options.MelodyAdLib);
    EXPECT_TRUE(options.SendChordCodes);
    EXPECT_EQ(options.ChordCodeChannel, 2);
    // A box the core sets (a songlist entry restores " Instruments ...") shows ticked.
    rig.Host().Barrier([](desktop::DesktopCore& core) { core.SetPlayBox(app::PlayBox::Instruments, true); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return box("InstrumentsBox")->isChecked(); }, 5000));

    // The voice channel plays program 33; its bars are moved, then stored on key 5.
    const int voice = rig.Read([](desktop::DesktopCore& core) {
        core.GetSession().Controllers().SetValue(core.State().engine.VoiceChannel, midi::ControllerTable::ProgramIndex, 33);
        return core.State().engine.VoiceChannel;
    });
    ui::MixerStrip* strip = mixer->Strip(voice);
    strip->Slider(ui::MixerStrip::Volume)->setValue(90);
    strip->Slider(ui::MixerStrip::Pan)->setValue(30);
    strip->Slider(ui::MixerStrip::Reverb)->setValue(20);
    strip->Slider(ui::MixerStrip::Chorus)->setValue(10);
    mixer->findChild<QSpinBox*>("StoreKey")->setValue(5);
    QTest::mouseClick(mixer->findChild<QPushButton*>("StoreInstrumentKey"), Qt::LeftButton);
    EXPECT_EQ(rig.Read([](desktop::DesktopCore& core) { return core.Arranger().Remote().Keys().Record(4); }),
              (remote::InstrumentKeyRecord{33, 90, 30, 20, 10}));
}

TEST(MainWindowScreenKeyboard, AClickNearAKeysTipIsLoudAndNearItsEdgeSoft) {
    WindowRig rig;
    // With the accompaniment off the on-screen keys play melody notes.
    auto* accompaniment = rig.Window().findChild<QPushButton*>("AccompanimentButton");
    ASSERT_NE(accompaniment, nullptr);
    QTest::mouseClick(accompaniment, Qt::LeftButton);
    ASSERT_FALSE(rig.Shown().Accompaniment);

    ui::TKeys& keys = rig.Window().Keys();
    // The keyboard starts at the chord zone's octave once the window has shown the core's state.
    ASSERT_TRUE(QTest::qWaitFor([&] { return keys.BaseOctave() == chords::BaseOctaveFor(rig.Shown().FirstChordKey); },
                                30000));
    chords::KeyRect e{};
    for (const chords::KeyRect& key : keys.Geometry().Keys())
        if (key.Note % 12 == 4) {
            e = key;  // an E: no black key to its right
            break;
        }
    ASSERT_GT(e.W, 0);
    rig.ClearSent(SynthOutput);
    QTest::mouseClick(&keys, Qt::LeftButton, {}, QPoint(e.X + e.W - 4, e.Y + e.H - 2));
    QTest::mouseClick(&keys, Qt::LeftButton, {}, QPoint(e.X + e.W - 4, e.Y + 2));
    const auto notes = rig.NoteOns(SynthOutput);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].first, notes[1].first);
    EXPECT_GE(notes[0].second, 100) << "near the tip";
    EXPECT_LE(notes[1].second, 30) << "near the edge";
    EXPECT_GE(notes[1].second, 1);
}

}  // namespace
}  // namespace chordella::testing
