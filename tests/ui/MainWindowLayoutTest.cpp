// The main window on the screens players have: at 1280×720, 1366×768 and 1920×1080 every
// control of the performance display, the arranger buttons and the keyboard lies inside the
// window, is not clipped by a panel and overlaps no other; and while a fill plays the
// display goes on counting the song's measures.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <string>
#include <vector>

#include "support/TestPaths.h"
#include "ui/DisplayText.h"
#include "ui/PerformanceDisplay.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

// Everything the player must see and reach, by object name.
const std::vector<const char*> PerformanceControls{
    "StyleName",   "PartDisplay",      "QueuedPart",    "MeasureDisplay",  "BeatLamp1",       "BeatLamp2",
    "BeatLamp3",   "BeatLamp4",        "ChordDisplay",  "NextChordDisplay", "TempoEdit1",     "TapTempoButton",
    "OutputDisplay", "PriorityDisplay", "SongTitleDisplay", "PlayButton",   "SyncStartButton", "IntroButton",     "BasicButton",
    "ExtendedButton", "FillButton",     "ToBasicButton", "ToExtendedButton", "EndingButton",  "FadeButton",
    "SplitKey",    "RecordButton",     "AccompanimentButton", "TKeys",     "SplitPickButton", "PanelTabs"};

struct Size {
    int Width;
    int Height;
};
const std::vector<Size> Screens{{1280, 720}, {1366, 768}, {1920, 1080}};

// The widget's rectangle in window coordinates.
QRect InWindow(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

// Why the widget cannot be seen whole, or empty when it can: hidden, empty, outside the
// window, clipped by a panel it lies in, or its text cut off.
std::string Problem(const QWidget* widget) {
    if (!widget->isVisible()) return "hidden";
    const QRect rect = InWindow(widget);
    if (rect.isEmpty()) return "empty";
    if (!widget->window()->rect().contains(rect)) return "outside the window";
    for (const QWidget* parent = widget->parentWidget(); parent != nullptr && !parent->isWindow();
         parent = parent->parentWidget())
        if (!InWindow(parent).contains(rect)) return "clipped by " + parent->objectName().toStdString();
    if (qobject_cast<const QLabel*>(widget) != nullptr || qobject_cast<const QPushButton*>(widget) != nullptr) {
        if (widget->sizeHint().width() > widget->width()) return "text cut off";
    }
    if (const auto* text = dynamic_cast<const ui::DisplayText*>(widget); text != nullptr && text->Elided())
        return "text cut off";
    return {};
}

void StartStyle(WindowRig& rig, const char* style) {
    rig.Host().Barrier([&](desktop::DesktopCore& core) {
        ASSERT_TRUE(core.OpenStyle(chordella::testing::AssetsFolder() + "/styles/" + style));
        core.SetTempo(160);
    });
    QTest::mouseClick(rig.Window().findChild<QPushButton*>("PlayButton"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Shown().Measure >= 1; }, 30000));
}

TEST(MainWindowLayout, EveryPerformanceControlIsInsideTheWindowAndOverlapsNoOtherOnEachScreen) {
    WindowRig rig;
    StartStyle(rig, "pop16.vxs");
    ui::MainWindow& window = rig.Window();
    for (const Size& screen : Screens) {
        SCOPED_TRACE(std::to_string(screen.Width) + "x" + std::to_string(screen.Height));
        window.resize(screen.Width, screen.Height);
        window.RefreshFromCore();
        // The display's text and lamps take their new size: the layouts settle level by level.
        for (int pass = 0; pass < 4; ++pass) QCoreApplication::processEvents();
        ASSERT_EQ(window.size(), QSize(screen.Width, screen.Height)) << "the window's smallest size is larger";

        std::vector<const QWidget*> shown;
        for (const char* name : PerformanceControls) {
            const auto* widget = window.findChild<QWidget*>(name);
            ASSERT_NE(widget, nullptr) << name;
            EXPECT_EQ(Problem(widget), "") << name;
            shown.push_back(widget);
        }
        for (std::size_t a = 0; a < shown.size(); ++a)
            for (std::size_t b = a + 1; b < shown.size(); ++b)
                EXPECT_FALSE(InWindow(shown[a]).intersects(InWindow(shown[b])))
                    << shown[a]->objectName().toStdString() << " overlaps " << shown[b]->objectName().toStdString();

        // Each page of the tabs fits the room the tabs have: its last controls are reachable.
        auto* tabs = window.findChild<QTabWidget*>("PanelTabs");
        for (const auto& [tab, last] : std::vector<std::pair<int, const char*>>{
                 {0, "K11"}, {0, "L04"}, {1, "StyleList"}, {1, "StyleSearch"}, {2, "Solo16"}, {2, "Volume16"}}) {
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            const auto* widget = window.findChild<QWidget*>(last);
            ASSERT_NE(widget, nullptr) << last;
            const std::string problem = Problem(widget);
            EXPECT_TRUE(problem.empty() || problem == "text cut off") << last << ": " << problem;
        }
        tabs->setCurrentIndex(0);
    }
}

// The smallest size the layout can take, with the first start's guide open and after it
// was closed: a 1280×720 screen holds either, with the window's frame. The guide is a page of the tabs; closing it
// brings back the chord pads.
TEST(MainWindowLayout, TheSmallestWindowFitsA1280By720ScreenWithTheGuideOpenAndClosedAndThePanelsAreKept) {
    WindowRig rig;
    ui::MainWindow& window = rig.Window();
    auto* guide = window.findChild<QWidget*>("Guide");
    auto* tabs = window.findChild<QTabWidget*>("PanelTabs");
    ASSERT_NE(guide, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return guide->isVisible(); }, 30000)) << "the first start shows the guide";
    EXPECT_FALSE(window.findChild<QLabel*>("GuideText")->text().isEmpty());
    const auto fits = [&](const char* when) {
        QCoreApplication::processEvents();
        const QSize smallest = window.minimumSizeHint().expandedTo(window.minimumSize());
        // The screen holds the window with its frame: a title bar and borders.
        EXPECT_LE(smallest.width(), 1280 - 2 * ui::BorderGuess) << when;
        EXPECT_LE(smallest.height(), 720 - ui::TitleBarGuess - ui::BorderGuess) << when;
    };
    fits("with the guide");
    EXPECT_EQ(window.PanelsText(), "tab=0;tabs=1;keys=1") << "the guide's page is not kept";
    QTest::mouseClick(window.findChild<QPushButton*>("GuideClose"), Qt::LeftButton);
    EXPECT_FALSE(guide->isVisible());
    EXPECT_EQ(tabs->currentWidget()->objectName(), "ChordPads");
    EXPECT_EQ(tabs->indexOf(guide), -1);
    fits("without the guide");
    rig.Window().RefreshFromCore();
    EXPECT_FALSE(guide->isVisible()) << "a closed guide stays closed";

    // The folding panels and the theme are kept with the settings.
    window.ShowPanels(2, true, false);
    window.SetTheme(1);
    window.resize(1366, 768);
    EXPECT_EQ(window.PanelsText(), "tab=2;tabs=1;keys=0");
    ASSERT_TRUE(rig.WaitFor([&] {
        const core::Options options = rig.Options();
        return options.WindowPanels == "tab=2;tabs=1;keys=0" && options.Theme == 1 && options.WindowWidth == 1366 &&
               options.WindowHeight == 768;
    })) << "the window's settings reach the options the settings file stores";

    // A damaged entry keeps the default of that panel and nothing else.
    window.ApplyPanelsText("tab=1;tabs=x;keys=0;junk");
    EXPECT_EQ(window.PanelsText(), "tab=1;tabs=1;keys=0");
    window.SetTheme(0);
}

TEST(MainWindowLayout, AFillShowsTheSongsMeasureAndBeatNotThePositionInsideTheStyle) {
    WindowRig rig;
    StartStyle(rig, "pop16.vxs");
    // The intro plays first; the fill is asked for while Basic plays.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Shown().Part == 1 && rig.Shown().Measure >= 2; }, 60000));
    const int before = rig.Shown().Measure;
    QTest::mouseClick(rig.Window().findChild<QPushButton*>("FillButton"), Qt::LeftButton);

    // A snapshot taken while the fill plays, with the position inside the style beside it.
    app::DisplaySnapshot during;
    int patternMeasure = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            bool inFill = false;
            rig.Host().Barrier([&](desktop::DesktopCore& core) {
                core.FillSnapshot(during);
                inFill = during.Part == 4 || during.Part == 5;
                core::Session& session = core.GetSession();
                patternMeasure = (session.Style().sections.PartBeatCounter - 4) / core.State().clock.MeasureUnits + 1;
            });
            return inFill;
        },
        60000))
        << "the fill starts";
    EXPECT_GE(during.Measure, before);
    EXPECT_LE(during.Measure, before + 3) << "the count goes on from where the song was";
    EXPECT_NE(during.Measure, patternMeasure) << "the position inside the style would show " << patternMeasure;

    rig.Window().Refresh(during);
    auto* display = rig.Window().findChild<ui::DisplayText*>("MeasureDisplay");
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->text(), QStringLiteral("%1:%2").arg(during.Measure).arg(during.Beat));
    auto* part = rig.Window().findChild<ui::DisplayText*>("PartDisplay");
    EXPECT_TRUE(part->text().startsWith("Fill in")) << part->text().toStdString();
}

}  // namespace
}  // namespace chordella::testing
