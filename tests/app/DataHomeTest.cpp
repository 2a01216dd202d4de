#include "app/DataHome.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "RecordingLifecycle.h"
#include "support/TestSession.h"
#include "support/TextFiles.h"

namespace chordella::app {
namespace {

using testing::ReadTextFile;
using testing::WriteTextFile;

namespace fs = std::filesystem;

// A bundled assets folder as the build installs it.
struct Assets {
    testing::TempFolder folder;
    Assets() {
        WriteTextFile(folder.File("styles/Pop.vxs"), "bundled pop");
        WriteTextFile(folder.File("songs/demo2.vxa"), "bundled demo");
        WriteTextFile(folder.File("lists/Favourites.txt"), "bundled list");
        WriteTextFile(folder.File("gm.vxi"), "Piano\n[0] GM\n");
        WriteTextFile(folder.File("styles/.gitkeep"), "");
        WriteTextFile(folder.File("README.md"), "about the assets");
    }
};

TEST(DataHome, BundledFoldersGoToTheirUpperCaseFoldersInTheHomeAndNoBundledFolderCopiesNothingSilently) {
    Assets assets;
    testing::TempFolder home;
    const platform::Paths paths = platform::Paths::InFolder(home.Path());
    const CopyReport report = CopyBundledFiles(assets.folder.Path(), paths);
    EXPECT_EQ(ReadTextFile(paths.Styles() + "/Pop.vxs"), "bundled pop");
    EXPECT_EQ(ReadTextFile(paths.Songs() + "/demo2.vxa"), "bundled demo");
    EXPECT_EQ(ReadTextFile(paths.Lists() + "/Favourites.txt"), "bundled list");
    EXPECT_TRUE(fs::exists(home.File("gm.vxi")));
    EXPECT_FALSE(fs::exists(paths.Styles() + "/.gitkeep"));
    EXPECT_FALSE(fs::exists(home.File("README.md")));
    EXPECT_EQ(report.Copied.size(), 4u);
    EXPECT_TRUE(report.Failed.empty());

    const CopyReport none = CopyBundledFiles("", paths);  // no bundled folder
    EXPECT_TRUE(none.Copied.empty());
    EXPECT_TRUE(none.Failed.empty());
}

TEST(DataHome, TheFirstStartCopiesTheBundledFilesAndNoStartOverwritesTheUsersChanges) {
    Assets assets;
    testing::TempFolder home;
    LifecycleSetup setup;
    setup.AssetsFolder = assets.folder.Path();
    setup.ReadOnlyMedia = [] { return false; };
    const auto start = [&] {
        CopyReport report;
        RunProgramOn(home.Path(), setup, [&](AppState&, Lifecycle& lifecycle) {
            lifecycle.Exit();
            report = lifecycle.BundledFilesReport();
        });
        return report;
    };
    start();
    const std::string pop = home.File("STYLES/Pop.vxs");
    ASSERT_EQ(ReadTextFile(pop), "bundled pop");

    // The user changes a bundled style and deletes a song; then even a start without a
    // settings file (a first start again) must keep the change.
    WriteTextFile(pop, "my own pop");
    fs::remove(home.File("SONGS/demo2.vxa"));
    fs::remove(home.File("chordella.ini"));
    const CopyReport second = start();
    EXPECT_EQ(ReadTextFile(pop), "my own pop");
    EXPECT_EQ(ReadTextFile(home.File("SONGS/demo2.vxa")), "bundled demo");
    EXPECT_EQ(second.Kept.size(), 3u);

    // With settings on disk the bundled files are left alone altogether.
    fs::remove(home.File("SONGS/demo2.vxa"));
    EXPECT_TRUE(start().Copied.empty());
    EXPECT_FALSE(fs::exists(home.File("SONGS/demo2.vxa")));
}

}  // namespace
}  // namespace chordella::app
