#include "ui/TapTempoWindow.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ui/ChordViewWindow.h"
#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

class TapTempoWindowTest : public ::testing::Test {
protected:
    QApplication& app = testing::QtTestApp();  // before any widget
    testing::RecordingCoreLink link;
};

TEST_F(TapTempoWindowTest, TheWindowTakesOneTapPerBeatOfTheMeasureAndThenCloses) {
    link.StoredOptions.Metrum = 3;  // "3/4"
    link.Shown.Tempo = 96;
    TapTempoWindow window(link);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* tap = window.findChild<QPushButton*>("TapButton");
    ASSERT_NE(tap, nullptr);
    EXPECT_EQ(tap->text(), "Tap 3 times");
    EXPECT_EQ(window.findChild<QLabel*>("TapTempo")->text(), "96 bpm");
    EXPECT_EQ(link.CallsStartingWith("BeginTapTempo").size(), 1u) << "opening begins a new series";
    QTest::mouseClick(tap, Qt::LeftButton);
    QTest::keyClick(&window, Qt::Key_F8);
    EXPECT_TRUE(window.isVisible());
    QTest::mouseClick(tap, Qt::LeftButton);
    EXPECT_EQ(link.CallsStartingWith("Tap").size(), 3u);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TapTempoWindowTest, TheEighthGridMovesQuantizeToItsEighthHalf) {
    link.StoredOptions.Quantize = 3;  // "4/4"
    TapTempoWindow window(link);
    window.show();
    auto* eighths = window.findChild<QRadioButton*>("EighthGrid");
    ASSERT_NE(eighths, nullptr);
    QTest::mouseClick(eighths, Qt::LeftButton);
    ASSERT_EQ(link.Applied.size(), 1u);
    EXPECT_EQ(link.Applied.front().Quantize, 8);  // "4/8"
    QTest::mouseClick(eighths, Qt::LeftButton);  // already there: nothing more
    EXPECT_EQ(link.Applied.size(), 1u);
}

TEST(ChordViewWindowTest, ShowsTheChordTheKeyAndThePositionWhileRunning) {
    testing::QtTestApp();
    ChordViewWindow view;
    app::DisplaySnapshot snapshot;
    snapshot.Serial = 1;
    snapshot.ChordName.Set("Ab min7", 7);
    snapshot.KeyText.Set("Key: Eb maj", 11);
    snapshot.Measure = 12;
    snapshot.Beat = 3;
    view.Refresh(snapshot);
    EXPECT_EQ(view.ChordText(), "Ab min7");
    EXPECT_EQ(view.KeyText(), "Key: Eb maj");
    EXPECT_TRUE(view.PositionText().contains("12"));
    EXPECT_TRUE(view.PositionText().contains("3"));
    snapshot.Serial = 2;
    snapshot.Measure = 0;
    snapshot.ChordName.Set("", 0);
    view.Refresh(snapshot);
    EXPECT_EQ(view.PositionText(), "Stopped") << "stopped, the window says so instead of standing blank";
    EXPECT_EQ(view.ChordText(), "-");
}

}  // namespace
}  // namespace chordella::ui
