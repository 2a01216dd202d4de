// The exported list of common progressions.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "composer/ProgressionExport.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

namespace chordella::composer {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(ProgressionExport, ListsEveryRowUnderItsSectionHeading) {
    const auto lines = Lines(ProgressionListText());
    // The heading, 100 rows and five section headings of three lines each.
    ASSERT_EQ(lines.size(), 1u + 100u + 15u);
    EXPECT_EQ(lines[0], "COMMON CHORD PROGRESSIONS");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "SECTION 1");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "\"50's Progression\",\"I - vi - IV - V\"");
    EXPECT_EQ(lines.back(), "\"Blues Progression 12-10\",\"vi7 - ii7 - vi7 - vi7 - ii7 - ii7 - vi7 - vi7 - iii7 - ii7 - vi7 - iii7\"");
    int headings = 0;
    for (const auto& line : lines) headings += line == "16 bar BLUES" || line == "12 bar BLUES" ? 1 : 0;
    EXPECT_EQ(headings, 2);
}

TEST(ProgressionExport, SavesCCPListInTheFolderGiven) {
    testing::TempFolder folder;
    std::string error;
    ASSERT_TRUE(SaveProgressionList(folder.Path(), error)) << error;
    std::string text;
    ASSERT_TRUE(platform::ReadTextFile(folder.Path() + "/CCPList.csv", 1 << 20, text, error)) << error;
    EXPECT_EQ(text, ProgressionListText());
    EXPECT_FALSE(SaveProgressionList(folder.Path() + "/missing/folder", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace chordella::composer
