#include "ui/ChordPadsPanel.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ui/PerformanceButtons.h"
#include "ui/QtTestApp.h"
#include "ui/RecordingCoreLink.h"

namespace chordella::ui {
namespace {

class ChordPadsPanelTest : public ::testing::Test {
protected:
    QApplication& app = testing::QtTestApp();  // before any widget

    QPushButton* Pad(const char* name) {
        auto* pad = panel.findChild<QPushButton*>(name);
        EXPECT_NE(pad, nullptr) << name;
        return pad;
    }

    testing::RecordingCoreLink link;
    ChordPadsPanel panel{link};
};

// The last pad and section button are found on the window in MainWindowLayoutTest (K11, L04).
TEST_F(ChordPadsPanelTest, APadNamesItsChordAndTheBottomRowReadsLikeTheArrangerPanelsButtons) {
    EXPECT_EQ(Pad("M06")->text(), "Bdim");
    EXPECT_FALSE(Pad("M06")->toolTip().isEmpty());

    // The bottom row names each function as the arranger panel's button for it does.
    PerformanceButtons buttons(link);
    for (const auto& [pad, button] : std::vector<std::pair<const char*, const char*>>{
             {"L00", "FillButton"}, {"L01", "ToBasicButton"}, {"L02", "EndingButton"}, {"L03", "ToExtendedButton"},
             {"L04", "IntroButton"}}) {
        auto* panelButton = buttons.findChild<QPushButton*>(button);
        ASSERT_NE(panelButton, nullptr) << button;
        EXPECT_EQ(Pad(pad)->text(), panelButton->text().replace('\n', " - ")) << pad;
    }
}

TEST_F(ChordPadsPanelTest, AClickSendsThePadDownWithItsModifiersThenThePadUpOnlyWhenReleased) {
    QTest::mouseClick(Pad("D04"), Qt::LeftButton);
    QTest::mouseClick(Pad("M06"), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
    QTest::mouseClick(Pad("L00"), Qt::RightButton, Qt::AltModifier);
    EXPECT_EQ(link.Calls, (std::vector<std::string>{"PadDown D04", "PadUp D04", "PadDown M06 SC", "PadUp M06",
                                                    "PadDown L00 AR", "PadUp L00"}));
    link.Calls.clear();
    QTest::mousePress(Pad("K11"), Qt::LeftButton);
    EXPECT_EQ(link.Calls, std::vector<std::string>{"PadDown K11"});
    QTest::mouseRelease(Pad("K11"), Qt::LeftButton);
    EXPECT_EQ(link.Calls, (std::vector<std::string>{"PadDown K11", "PadUp K11"}));
}

TEST_F(ChordPadsPanelTest, APadHeldWhenAMessageBoxOpensIsReleased) {
    panel.show();
    QTest::mousePress(Pad("C03"), Qt::LeftButton);
    QDialog box(&panel);
    box.setModal(true);
    box.show();  // the panel's window is blocked: the release will never come
    EXPECT_EQ(link.Calls, (std::vector<std::string>{"PadDown C03", "PadUp C03"}));
    box.hide();
    panel.hide();
    EXPECT_EQ(link.Calls.size(), 2u);
}

TEST_F(ChordPadsPanelTest, PadCaptionsAndRowLabelsFollowTheRowTypes) {
    app::DisplaySnapshot snapshot;
    snapshot.PadRowTypes[3].Set("min7", 4);
    snapshot.PadRowTypes[0].Set("maj", 3);
    panel.Refresh(snapshot);
    EXPECT_EQ(Pad("D04")->text(), "Abmin7");
    EXPECT_EQ(Pad("A08")->text(), "Cmaj");
    EXPECT_EQ(panel.findChild<QLabel*>("RowD")->text(), "D  min7");

    snapshot.PadRowTypes[3].Set("sus4", 4);
    panel.Refresh(snapshot);
    EXPECT_EQ(Pad("D11")->text(), "Ebsus4");
}

}  // namespace
}  // namespace chordella::ui
