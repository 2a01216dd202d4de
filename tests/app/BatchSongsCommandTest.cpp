// `chordella batch songs N` as a musician runs it: the songs written, the songlist of the
// data home added to, or cleared first with --clear.
#include <gtest/gtest.h>

#include <filesystem>

#include "library/SongEntry.h"
#include "library/Songlist.h"
#include "support/RunChordella.h"
#include "support/TempFolder.h"

namespace chordella {
namespace {

using testing::RunChordella;

std::vector<std::string> ListLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string error;
    EXPECT_TRUE(library::ReadSonglistFile(path, lines, error)) << error;
    return lines;
}

TEST(BatchSongsCommand, SongsGoToTheFolderAndIntoTheSonglistWhichClearRebuildsKeepingABackup) {
    testing::TempFolder home;
    const std::string out = home.File("new songs");
    auto result = RunChordella("--home '" + home.Path() + "' batch songs 3 -o '" + out + "'");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("[3/3] Random-"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("3 of 3 songs written"), std::string::npos) << result.output;
    const std::string list = home.File("SONGS/DEMO.VXL");
    std::vector<std::string> lines = ListLines(list);
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) {
        const library::SongEntry entry = library::ParseSongEntry(line);
        EXPECT_EQ(entry.Path.rfind(out + "/Random-", 0), 0u) << entry.Path;
        EXPECT_TRUE(std::filesystem::exists(entry.Path)) << entry.Path;
        EXPECT_EQ(entry.Title, std::filesystem::path(entry.Path).filename().string());
    }

    result = RunChordella("--home '" + home.Path() + "' batch songs 2 -o '" + out + "'");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(ListLines(list).size(), 5u);
    result = RunChordella("--home '" + home.Path() + "' batch songs 1 --clear -o '" + out + "'");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(ListLines(list).size(), 1u);
    EXPECT_EQ(ListLines(home.File("SONGS/DEMO.bak")).size(), 5u);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(out)) files += entry.path().extension() == ".vxa";
    EXPECT_EQ(files, 6u);  // every song of the three runs kept its file
}

}  // namespace
}  // namespace chordella
