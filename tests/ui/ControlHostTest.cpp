// The host between the window and the core: answers arrive on the window's thread, the
// published snapshot changes only when what it shows changed, menus reach the core.
#include <gtest/gtest.h>

#include <QAction>
#include <QThread>

#include "ui/WindowRig.h"

namespace chordella::testing {
namespace {

TEST(ControlHost, AnswersOnTheWindowsThreadPublishesOnlyWhatChangedAndTheMenusAndKeysReachTheCore) {
    WindowRig rig;
    bool answered = false;
    bool onWindowThread = false;
    int tempoPreset = 0;
    rig.Host().ReadOptions([&](const core::Options& options) {
        answered = true;
        onWindowThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        tempoPreset = options.TempoPreset3;
    });
    std::vector<std::string> outputs;
    rig.Host().ListPorts([&](const ui::PortLists& ports) { outputs = ports.Outputs; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered && !outputs.empty(); }, 30000));
    EXPECT_TRUE(onWindowThread);
    EXPECT_EQ(tempoPreset, 120);
    EXPECT_EQ(outputs.front(), "Memory Synth");

    // A new snapshot is published only when the display changed.
    rig.Settle();
    // Idle once a few publishing rounds brought nothing new (a slow start may still publish).
    std::uint64_t idle = rig.Host().Snapshot().Serial;
    for (int round = 0; round < 100; ++round) {
        QTest::qWait(200);
        const std::uint64_t now = rig.Host().Snapshot().Serial;
        if (now == idle) break;
        idle = now;
    }
    QTest::qWait(200);
    EXPECT_EQ(rig.Host().Snapshot().Serial, idle);
    rig.Host().SetTempo(140);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Host().Snapshot().Tempo == 140; }, 30000));
    EXPECT_GT(rig.Host().Snapshot().Serial, idle);

    // The melody menu's switches show their state and the transport keys run the transport.
    QAction* record = MenuItem(rig.Window(), "MelodyMenu", "&Record");
    QAction* humanize = MenuItem(rig.Window(), "MelodyMenu", "Humanize");
    ASSERT_NE(record, nullptr);
    ASSERT_NE(humanize, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return humanize->isChecked(); }, 30000)) << "on at start";
    record->trigger();
    EXPECT_TRUE(rig.Shown().MelodyRecording);
    humanize->trigger();
    EXPECT_FALSE(rig.Shown().MelodyHumanize);
    EXPECT_TRUE(QTest::qWaitFor([&] { return record->isChecked() && !humanize->isChecked(); }, 30000));
    record->trigger();

    ASSERT_TRUE(rig.OpenBundledStyle("bossa.vxs"));
    QTest::keyClick(&rig.Window(), Qt::Key_Space);
    EXPECT_TRUE(rig.Shown().Playing) << "space starts the style";
    QTest::keyClick(&rig.Window(), Qt::Key_F10);
    EXPECT_FALSE(rig.Shown().Playing) << "F10 stops it";
}

}  // namespace
}  // namespace chordella::testing
