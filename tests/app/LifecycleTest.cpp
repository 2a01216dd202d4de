#include "app/Lifecycle.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "RecordingLifecycle.h"
#include "platform/SingleInstance.h"
#include "support/TestSession.h"
#include "support/TextFiles.h"

namespace chordella::app {
namespace {

using testing::ReadTextFile;
using testing::WriteTextFile;

namespace fs = std::filesystem;

struct Program {
    testing::TestSession t;
    const platform::Paths& paths = t.session->Paths();
    RecordingHooks hooks{paths};
    LifecycleSetup setup;
    std::unique_ptr<Lifecycle> lifecycle;

    void Start() {
        lifecycle = std::make_unique<Lifecycle>(*t.session, t.state, hooks, setup);
        lifecycle->Start();
    }
};

TEST(Lifecycle, TheFirstStartMakesTheFoldersPlaysTheDemoAndOpensTheDemoSonglist) {
    Program p;
    WriteTextFile(p.paths.Songs() + "/demo2.vxa", "song");
    p.Start();
    EXPECT_TRUE(fs::is_directory(p.paths.Songs()));
    EXPECT_TRUE(fs::is_directory(p.paths.Styles()));
    EXPECT_TRUE(fs::is_directory(p.paths.Lists()));
    const std::vector<std::string> expected{
        "ApplySettings",
        "LoadStylePresets ",
        "CheckForUpdates",
        "PlayDemoSong " + p.paths.Songs() + "/demo2.vxa",
        "ShowGuide Hello, this is the first ",
        "OpenSonglist " + p.paths.Songs() + "/DEMO.VXL Songlist - DEMO.VXL",
    };
    EXPECT_EQ(p.hooks.steps, expected);
    EXPECT_EQ(p.t.state.options.SongDirectory, p.paths.Songs() + "/");
    EXPECT_EQ(p.t.state.options.SonglistFile, p.paths.Songs() + "/DEMO.VXL");
}

TEST(Lifecycle, ALaterStartLoadsTheStartupStyleAndSkipsTheFirstStartSteps) {
    Program p;
    WriteTextFile(p.paths.IniPath(), "[Options]\nAutoUpdate=1\n");
    WriteTextFile(p.paths.Styles() + "/cont1.vxs", "style");
    WriteTextFile(p.paths.ProgramFile("StylePresets.txt"), "presets");
    p.Start();
    const std::vector<std::string> expected{
        "ApplySettings",
        "LoadStylePresets " + p.paths.ProgramFile("StylePresets.txt"),
        "LoadStyle startup " + p.paths.Styles() + "/cont1.vxs",
    };
    EXPECT_EQ(p.hooks.steps, expected);
}

TEST(Lifecycle, ALaterStartOpensTheSonglistLastUsedAndAMissingOneFallsBackToTheDemoList) {
    Program p;
    WriteTextFile(p.paths.Lists() + "/Gig.vxl", "x");
    WriteTextFile(p.paths.IniPath(), "[Options]\nSongL=" + p.paths.Lists() + "/Gig.vxl\n");
    p.Start();
    EXPECT_EQ(p.hooks.steps.back(), "OpenSonglist " + p.paths.Lists() + "/Gig.vxl Songlist - GIG.VXL");

    Program q;
    WriteTextFile(q.paths.Songs() + "/DEMO.VXL", "x");
    WriteTextFile(q.paths.IniPath(), "[Options]\nSongL=C:\\Old\\Gone.vxl\n");
    q.Start();
    EXPECT_EQ(q.hooks.steps.back(), "OpenSonglist " + q.paths.Songs() + "/DEMO.VXL Songlist - DEMO.VXL");
}

TEST(Lifecycle, ADb50xgSetSendsItsSetupAtEveryStart) {
    Program p;
    WriteTextFile(p.paths.DataDir() + "/db50xg.vxi", "Piano\n[0] XG\n");
    WriteTextFile(p.paths.IniPath(), "[Options]\nPatch=" + p.paths.DataDir() + "/db50xg.vxi\n");
    p.Start();
    ASSERT_EQ(p.hooks.sent.size(), 2u);
    EXPECT_EQ(p.hooks.sent[0], (std::vector<std::uint8_t>{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));

    Program q;  // the built-in list sends nothing
    q.Start();
    EXPECT_TRUE(q.hooks.sent.empty());
}

TEST(Lifecycle, ExitStopsFirstThenSavesTheSettingsThenClosesEverything) {
    Program p;
    p.Start();
    WriteTextFile(p.paths.DataDir() + "/chordella.VX$", "temporary");
    p.hooks.steps.clear();
    EXPECT_EQ(p.lifecycle->Exit(), SaveOutcome::Saved);
    const std::vector<std::string> expected{"Stop", "SaveStylePlaylist (settings on disk)", "CloseWindows",
                                            "ShutDownClock", "ClosePorts"};
    EXPECT_EQ(p.hooks.steps, expected);
    EXPECT_FALSE(fs::exists(p.paths.DataDir() + "/chordella.VX$"));

    p.hooks.steps.clear();
    EXPECT_EQ(p.lifecycle->Exit(), SaveOutcome::Saved);  // once only
    EXPECT_TRUE(p.hooks.steps.empty());
}

TEST(Lifecycle, ResetFromTheCommandLineStartsWithDefaultsAndSavesResetAsZero) {
    Program p;
    WriteTextFile(p.paths.IniPath(), "[Options]\nTempo1=77\nReset=0\n");
    p.setup.ResetSettings = true;
    p.Start();
    EXPECT_EQ(p.t.state.options.TempoPreset1, 60);
    p.lifecycle->Exit();
    const std::string saved = ReadTextFile(p.paths.IniPath());
    EXPECT_NE(saved.find("\nReset=0\n"), std::string::npos);
    EXPECT_NE(saved.find("\nTempo1=60\n"), std::string::npos);
}

TEST(Lifecycle, OnReadOnlyMediaNothingIsWritten) {
    Program p;
    p.setup.ReadOnlyMedia = [] { return true; };
    fs::create_directories(p.t.home.File("assets/styles"));
    WriteTextFile(p.t.home.File("assets/styles/Pop.vxs"), "style");
    p.setup.AssetsFolder = p.t.home.File("assets");
    p.Start();
    p.t.state.options.TempoPreset1 = 100;
    EXPECT_EQ(p.lifecycle->Exit(), SaveOutcome::ReadOnlyMedia);
    EXPECT_FALSE(fs::exists(p.paths.IniPath()));
    EXPECT_FALSE(fs::exists(p.paths.Styles()));
    EXPECT_FALSE(p.t.prompter->WasShown("The settings could not be saved"));
}

TEST(Lifecycle, AFailedSaveIsReportedNotSwallowed) {
    Program p;
    p.setup.ReadOnlyMedia = [] { return false; };
    p.Start();
    fs::create_directories(p.paths.IniPath());  // a folder where the file should go
    EXPECT_EQ(p.lifecycle->Exit(), SaveOutcome::Failed);
    ASSERT_FALSE(p.t.prompter->Shown().empty());
    EXPECT_EQ(p.t.prompter->Shown().back().rfind("The settings could not be saved", 0), 0u);
}

TEST(Lifecycle, AHandedOverFileIsLoadedAsAStyleAndRemoved) {
    Program p;
    p.setup.HandOverPoll = std::chrono::milliseconds(5);
    p.Start();
    p.hooks.steps.clear();
    const std::string handOver = p.paths.ProgramFile(platform::SingleInstance::HandOverFileName);
    ASSERT_TRUE(platform::SingleInstance::HandOver(handOver, "/music/Bossa.vxs"));

    platform::EventLoop& loop = p.t.session->Loop();
    p.hooks.onLoadStyle = [&loop] { loop.Quit(); };
    loop.StartTimer(std::chrono::seconds(60), false, [&loop] { loop.Quit(); });  // never hang
    loop.Run();
    EXPECT_EQ(p.hooks.steps, std::vector<std::string>{"LoadStyle /music/Bossa.vxs"});
    EXPECT_FALSE(fs::exists(handOver));
    EXPECT_FALSE(p.lifecycle->TakeHandOver());  // taken once only
}

}  // namespace
}  // namespace chordella::app
