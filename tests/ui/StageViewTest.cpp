// The performance display and the stage view on the real window: the beat lamps follow the
// beat the core counts, measure after measure on the virtual clock; Tab turns the window
// into the stage view, whose chord is a fifth of the window high and grows with it; the
// normal display grows with the window too and names the song.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTest>
#include <string>
#include <vector>

#include "app/LiveArranger.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
#include "support/TestPaths.h"
#include "ui/BeatLamps.h"
#include "ui/DisplayText.h"
#include "ui/PerformanceDisplay.h"
#include "ui/StageView.h"
#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

// The lit lamp (1-based) and whether it is the first beat's red one; 0 when all are dark.
// More than one lit lamp is a failure.
int LitLamp(const ui::BeatLamps& lamps, bool& accent) {
    int lit = 0;
    accent = false;
    for (int i = 0; i < ui::BeatLamps::MaxLamps; ++i) {
        const ui::BeatLamp& lamp = lamps.Lamp(i);
        if (lamp.Lit() == ui::BeatLamp::Dark) continue;
        EXPECT_EQ(lit, 0) << "two lamps lit: " << lit << " and " << i + 1;
        lit = i + 1;
        accent = lamp.Lit() == ui::BeatLamp::Accent;
    }
    return lit;
}

int ShownLamps(const ui::BeatLamps& lamps) {
    int shown = 0;
    for (int i = 0; i < ui::BeatLamps::MaxLamps; ++i) shown += lamps.Lamp(i).isVisibleTo(&lamps) ? 1 : 0;
    return shown;
}

// The style plays on the virtual clock: the test runs the ticks itself.
void StartOnTheVirtualClock(WindowRig& rig, const char* style) {
    rig.Host().Barrier([&](desktop::DesktopCore& core) {
        ASSERT_TRUE(core.OpenStyle(AssetsFolder() + "/styles/" + style));
        core.Arranger().Clock().StartVirtual(120);
        core.Arranger().Transport().StartStyle();  // Start / Stop would stop the running clock
    });
}

app::DisplaySnapshot RunTicks(WindowRig& rig, int ticks) {
    app::DisplaySnapshot snapshot;
    rig.Host().Barrier([&](desktop::DesktopCore& core) {
        core.Arranger().Clock().RunVirtualTicks(ticks);
        core.FillSnapshot(snapshot);
    });
    return snapshot;
}

struct Meter {
    const char* Style;
    int Beats;
};

TEST(BeatLamps, OneLampPerBeatLightsInTurnTheFirstRedOverAMeasureOfTheVirtualClock) {
    for (const Meter meter : {Meter{"pop16.vxs", 4}, Meter{"waltz.vxs", 3}}) {
        SCOPED_TRACE(meter.Style);
        WindowRig rig;
        StartOnTheVirtualClock(rig, meter.Style);
        for (const bool stage : {false, true}) {
            rig.Window().SetStageView(stage);
            const ui::BeatLamps& lamps = stage ? rig.Window().Stage().Lamps() : rig.Window().Display().Lamps();
            // Beat by beat through a whole measure, from wherever the count stands.
            std::vector<int> seen;
            for (int beat = 0; beat < meter.Beats; ++beat) {
                const app::DisplaySnapshot snapshot = RunTicks(rig, 24);
                rig.Window().Refresh(snapshot);
                bool accent = false;
                const int lit = LitLamp(lamps, accent);
                EXPECT_EQ(lit, snapshot.Beat) << "the lamp of the beat the core counts";
                EXPECT_EQ(accent, lit == 1) << "red on the first beat only";
                EXPECT_EQ(ShownLamps(lamps), meter.Beats);
                seen.push_back(lit);
            }
            // In turn over a measure's beats: each lamp once.
            for (std::size_t i = 1; i < seen.size(); ++i)
                EXPECT_EQ(seen[i], seen[i - 1] % meter.Beats + 1) << "in turn";
        }
        rig.Host().Barrier([](desktop::DesktopCore& core) { core.Stop(); });
        rig.Window().SetStageView(false);
        rig.Window().Refresh(rig.Shown());
        bool accent = false;
        EXPECT_EQ(LitLamp(rig.Window().Display().Lamps(), accent), 0) << "dark when stopped";
    }
}

void PressKey(QWidget& window, Qt::Key key) {
    QTest::keyClick(&window, key);
    QCoreApplication::processEvents();
}

// How tall the chord's capitals are drawn, in pixels.
int ChordCapHeight(const ui::DisplayText& chord) {
    QFont font = chord.font();
    font.setPixelSize(chord.PixelSize());
    font.setBold(true);
    return QFontMetrics(font).capHeight();
}

// The normal display grows with the window and names the song; Tab hands the window to the
// stage view, readable from afar, which grows with the window too.
TEST(StageView, TheDisplayNamesTheSongTabGivesTheWindowToTheStageViewAndBothGrowWithTheWindow) {
    WindowRig rig;
    ui::MainWindow& window = rig.Window();
    rig.Host().Barrier([](desktop::DesktopCore& core) {
        ASSERT_TRUE(core.OpenSong(AssetsFolder() + "/songs/demo2.vxa"));
    });
    window.Refresh(rig.Shown());
    const auto* normalChord = window.Display().findChild<ui::DisplayText*>("ChordDisplay");
    const auto* normalTitle = window.Display().findChild<ui::DisplayText*>("SongTitleDisplay");
    ASSERT_NE(normalChord, nullptr);
    ASSERT_NE(normalTitle, nullptr);
    EXPECT_EQ(normalTitle->text(), "Sunday Drive");
    window.resize(1276, 688);  // a 1280×720 screen less the window's frame
    QCoreApplication::processEvents();
    const int laptop = normalChord->PixelSize();
    EXPECT_GE(laptop, 60) << "twice the size a window with fixed fonts drew";
    window.resize(1916, 1050);
    QCoreApplication::processEvents();
    EXPECT_GE(normalChord->PixelSize(), laptop * 14 / 10) << "the display grows on a large screen";

    window.resize(1276, 688);
    window.Refresh(rig.Shown());
    PressKey(window, Qt::Key_Tab);
    ASSERT_TRUE(window.IsStageView());
    EXPECT_FALSE(window.Display().isVisible());
    EXPECT_TRUE(window.Stage().isVisible());

    const auto* chord = window.Stage().findChild<ui::DisplayText*>("StageChord");
    const auto* title = window.Stage().findChild<ui::DisplayText*>("StageSongTitle");
    ASSERT_NE(chord, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Sunday Drive") << "the song's title";
    for (const char* name : {"StageSongTitle", "StageStyle", "StagePart", "StageTempo", "StageNextChord", "StageMeasure"}) {
        const auto* line = window.Stage().findChild<ui::DisplayText*>(name);
        ASSERT_NE(line, nullptr) << name;
        EXPECT_GE(line->PixelSize(), 40) << name << " is read from a distance";
        EXPECT_TRUE(window.rect().contains(QRect(line->mapTo(&window, QPoint(0, 0)), line->size()))) << name;
    }
    const int small = ChordCapHeight(*chord);
    EXPECT_GE(small, window.height() / 5) << "the chord is a fifth of the window high";

    window.resize(1920, 1050);
    QCoreApplication::processEvents();
    EXPECT_GE(ChordCapHeight(*chord), window.height() / 5);
    EXPECT_GT(ChordCapHeight(*chord), small * 14 / 10) << "it grows with the window";

    PressKey(window, Qt::Key_Escape);
    EXPECT_FALSE(window.IsStageView());
    EXPECT_TRUE(window.Display().isVisible());
    PressKey(window, Qt::Key_Tab);
    PressKey(window, Qt::Key_Tab);
    EXPECT_FALSE(window.IsStageView()) << "Tab toggles";
}

}  // namespace
}  // namespace chordella::testing
