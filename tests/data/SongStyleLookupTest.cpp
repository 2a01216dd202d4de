// Finding the style a song names, when the song was saved on another machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/SongStyleLookup.h"
#include "support/TempFolder.h"

namespace chordella::data {
namespace {

class SongStyleLookupTest : public ::testing::Test {
protected:
    SongStyleLookupTest() : paths(platform::Paths::InFolder(home.Path())) {
        std::filesystem::create_directories(paths.Styles() + "/Dance");
    }
    void Touch(const std::string& path) { std::ofstream(path) << "style"; }

    testing::TempFolder home;
    platform::Paths paths;
};

TEST_F(SongStyleLookupTest, AStoredPathIsFoundInTheStylesFolderAndAnExistingOneIsTakenAsItIs) {
    Touch(paths.Styles() + "/Pop.vxs");
    EXPECT_EQ(FindSongStyle("D:\\Music\\Styles\\Pop.vxs", paths), paths.Styles() + "/Pop.vxs");

    Touch(paths.Styles() + "/Dance/Disco.vxs");
    Touch(paths.Styles() + "/Disco.vxs");
    EXPECT_EQ(FindSongStyle("C:\\Programs\\CHORDELLA\\STYLES\\Dance\\Disco.vxs", paths),
              paths.Styles() + "/Dance/Disco.vxs")
        << "the subfolder below the program folder wins over the bare file name";

    const std::string elsewhere = home.File("elsewhere.vxs");
    Touch(elsewhere);
    Touch(paths.Styles() + "/elsewhere.vxs");
    EXPECT_EQ(FindSongStyle(elsewhere, paths), elsewhere);

    EXPECT_EQ(FindSongStyle("C:\\STYLES\\Gone.vxs", paths), std::nullopt);
    EXPECT_EQ(FindSongStyle("", paths), std::nullopt);
    EXPECT_TRUE(SongStyleCandidates("", paths).empty());
}

}  // namespace
}  // namespace chordella::data
