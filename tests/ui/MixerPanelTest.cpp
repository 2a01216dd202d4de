#include "ui/MixerPanel.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include "ui/MixerStrip.h"
#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

class MixerPanelTest : public ::testing::Test {
protected:
    QApplication& app = testing::QtTestApp();  // before any widget
    MixerPanelTest() {
        panel.show();
    }

    QSlider* Volume(int channel) { return panel.Strip(channel)->Slider(MixerStrip::Volume); }
    QAbstractButton* Button(const QString& name) {
        auto* button = panel.findChild<QAbstractButton*>(name);
        EXPECT_NE(button, nullptr) << name.toStdString();
        return button;
    }
    // Drags a vertical slider from the bottom (its minimum) to the top.
    static void DragUp(QSlider* slider) {
        const int x = slider->width() / 2;
        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x, slider->height() - 3));
        for (int y = slider->height() - 6; y > 0; y -= 6) QTest::mouseMove(slider, QPoint(x, y));
        QTest::mouseMove(slider, QPoint(x, 0));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x, 0));
    }

    testing::RecordingCoreLink link;
    MixerPanel panel{link};
    app::DisplaySnapshot snapshot;
};

TEST_F(MixerPanelTest, DraggingAVolumeSliderSendsControllerSevenOfItsChannel) {
    snapshot.Channels[2].Volume = 0;
    panel.Refresh(snapshot);
    DragUp(Volume(2));
    ASSERT_FALSE(link.Calls.empty());
    EXPECT_EQ(link.Calls.back(), "Controller 2 7 127");
    for (const std::string& call : link.Calls) EXPECT_EQ(call.rfind("Controller 2 7 ", 0), 0u) << call;
}

TEST_F(MixerPanelTest, RefreshShowsTheCoreValuesWithoutSendingThemBackAndLeavesASliderInTheUsersHand) {
    snapshot.Channels[0].Volume = 100;
    snapshot.Channels[0].Pan = 20;
    snapshot.Channels[0].Reverb = 40;
    snapshot.Channels[0].Chorus = 7;
    snapshot.Channels[4].Muted = true;
    snapshot.Channels[5].Soloed = true;
    snapshot.Channels[9].Instrument.Set("Drums", 5);
    panel.Refresh(snapshot);
    EXPECT_TRUE(link.Calls.empty());
    MixerStrip* strip = panel.Strip(0);
    EXPECT_EQ(strip->Slider(MixerStrip::Volume)->value(), 100);
    EXPECT_EQ(strip->Slider(MixerStrip::Pan)->value(), 20);
    EXPECT_EQ(strip->Slider(MixerStrip::Reverb)->value(), 40);
    EXPECT_EQ(strip->Slider(MixerStrip::Chorus)->value(), 7);
    EXPECT_TRUE(Button("Mute5")->isChecked());
    EXPECT_TRUE(Button("Solo6")->isChecked());
    EXPECT_EQ(panel.findChild<QLabel*>("Instrument10")->toolTip(), "Drums");

    // A refresh leaves a slider in the user's hand alone.
    snapshot.Channels[3].Volume = 0;
    panel.Refresh(snapshot);
    QSlider* slider = Volume(3);
    const int x = slider->width() / 2;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x, slider->height() - 3));
    ASSERT_TRUE(slider->isSliderDown());
    snapshot.Channels[3].Volume = 90;
    panel.Refresh(snapshot);
    EXPECT_EQ(slider->value(), 0);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x, slider->height() - 3));
    panel.Refresh(snapshot);
    EXPECT_EQ(slider->value(), 90);
}

TEST_F(MixerPanelTest, MuteSoloAndResetGoToTheCoreAndAControlJustChangedKeepsTheUsersValueUntilTheCoreCatchesUp) {
    panel.Refresh(snapshot);
    QTest::mouseClick(Button("Mute2"), Qt::LeftButton);
    QTest::mouseClick(Button("Solo4"), Qt::LeftButton);
    panel.Refresh(snapshot);  // published before the core took the clicks
    EXPECT_TRUE(Button("Mute2")->isChecked());
    EXPECT_TRUE(Button("Solo4")->isChecked());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            panel.Refresh(snapshot);  // the core never took them: the display follows it
            return !Button("Mute2")->isChecked() && !Button("Solo4")->isChecked();
        },
        30000));
    EXPECT_EQ(link.Calls, (std::vector<std::string>{"Mute 1 1", "Solo 4"}));

    // Mute, solo (a second solo replaces the first, a click on the soloed one ends it) and
    // the controller reset go to the core.
    link.Calls.clear();
    QTest::mouseClick(Button("Mute5"), Qt::LeftButton);
    QTest::mouseClick(Button("Solo3"), Qt::LeftButton);
    QTest::mouseClick(Button("Solo7"), Qt::LeftButton);
    EXPECT_FALSE(Button("Solo3")->isChecked());
    QTest::mouseClick(Button("Solo7"), Qt::LeftButton);
    QTest::mouseClick(Button("ControllerReset"), Qt::LeftButton);
    EXPECT_EQ(link.Calls,
              (std::vector<std::string>{"Mute 4 1", "Solo 3", "Solo 7", "Solo 0", "ResetControllers"}));
}

TEST_F(MixerPanelTest, ALampLightsWhileItsNoteCountMovesAndGoesDarkAfterButNotOnTheFirstRefresh) {
    snapshot.Channels[1].NoteOns = 500;
    panel.Refresh(snapshot);
    EXPECT_FALSE(panel.Strip(1)->LampLit());
    snapshot.Channels[9].NoteOns = 3;
    panel.Refresh(snapshot);
    EXPECT_TRUE(panel.Strip(9)->LampLit());
    EXPECT_FALSE(panel.Strip(8)->LampLit());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panel.Strip(9)->LampLit(); }, 30000));
}

}  // namespace
}  // namespace chordella::ui
