// The style groups file: groups written and read back, reading that stops at the first
// missing key, files from another machine (Windows paths, CRLF, long lines, bytes that are
// not UTF-8), and a damaged file that is reported and never written over.

#include <filesystem>

#include <gtest/gtest.h>

#include "AbsentPlaylist.h"
#include "library/GroupFile.h"
#include "library/StyleManager.h"
#include "library/StylePaths.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::library {
namespace {

namespace fs = std::filesystem;
using testing::ReadTextFile;
using testing::TempFolder;
using testing::WriteTextFile;

std::string Entry(const std::string& name, const std::string& path, const std::string& description = "") {
    return FormatStyleEntry(path + "/" + name, StyleInfo{"4/4", 120, 8}, description);
}

TEST(StyleGroupFile, GroupsRoundTripAndKeepWhatElseTheFileHolds) {
    TempFolder folder;
    const std::string path = folder.File("chordella.vxg");
    WriteTextFile(path, "; my groups\n[Notes]\nkept=yes\n[Group9]\n0=old\n");
    GroupFile file(path);
    std::string error;
    ASSERT_TRUE(file.Load(error)) << error;
    const std::vector<std::string> rock = {Entry("a.vxs", "/s"), Entry("b.vxs", "/s", "slow one")};
    file.SetEntries(6, rock);
    file.SetEntries(9, {});
    ASSERT_TRUE(file.Save(error)) << error;

    GroupFile again(path);
    ASSERT_TRUE(again.Load(error)) << error;
    EXPECT_EQ(again.Entries(6), rock);
    EXPECT_TRUE(again.Entries(9).empty());
    const std::string text = ReadTextFile(path);
    EXPECT_NE(text.find("; my groups"), std::string::npos);
    EXPECT_NE(text.find("kept=yes"), std::string::npos);
    EXPECT_EQ(text.find("Group9"), std::string::npos);
    // No temporary file is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& f : fs::directory_iterator(folder.Path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(StyleGroupFile, ReadingStopsAtTheFirstMissingKeyWhateverTheFileLooksLike) {
    GroupFile file("unused.vxg");
    const std::string longLine(70 * 1024, 'x');
    file.Parse("[group2]\r\n0=first\r\n1=second\r\n3=after the gap\r\n"
               "[Group3]\n1=no key 0\n"
               "[Group4]\n0=caf\xE9 \xFF\xFE.vxs              Met: 4/4  Beat: 90  Tracks: 3{1}{2}C:\\STYLES\\caf\xE9 \xFF\xFE.vxs\n1=" +
               longLine + "\n2=unreached\n");
    EXPECT_EQ(file.Entries(2), (std::vector<std::string>{"first", "second"}));
    EXPECT_TRUE(file.Entries(3).empty());
    const auto group4 = file.Entries(4);
    ASSERT_EQ(group4.size(), 1u);  // the over-long line is no key: reading stops there
    EXPECT_EQ(SplitStyleEntry(group4[0]).Path, "C:\\STYLES\\caf\xE9 \xFF\xFE.vxs");
    EXPECT_EQ(SplitStyleEntry(group4[0]).Info, "Met: 4/4  Beat: 90  Tracks: 3");
    EXPECT_TRUE(file.Entries(5).empty());
}

TEST(StyleGroupFile, WindowsPathsAreFoundInTheDataHomeWhateverTheirCase) {
    TempFolder home;
    const auto paths = platform::Paths::InFolder(home.Path());
    fs::create_directories(paths.Styles() + "/Pop/Slow");
    WriteTextFile(paths.Styles() + "/Pop/Slow/Ballad.vxs", "style");
    WriteTextFile(paths.Styles() + "/Swing.VXS", "style");

    EXPECT_EQ(FindStyleEntryFile("C:\\Chordella\\STYLES\\POP\\slow\\BALLAD.VXS", paths),
              paths.Styles() + "/Pop/Slow/Ballad.vxs");
    EXPECT_EQ(FindStyleEntryFile("D:/old/styles/pop\\Slow/ballad.vxs", paths), paths.Styles() + "/Pop/Slow/Ballad.vxs");
    EXPECT_EQ(FindStyleEntryFile("E:\\elsewhere\\swing.vxs", paths), paths.Styles() + "/Swing.VXS");
    EXPECT_EQ(FindStyleEntryFile("C:\\STYLES\\..\\..\\etc\\passwd", paths), std::nullopt);
    EXPECT_EQ(FindStyleEntryFile("C:\\STYLES\\Missing.vxs", paths), std::nullopt);
}

TEST(StyleGroupFile, ADamagedFileIsReportedAndNeverWrittenOver) {
    TempFolder home;
    const auto paths = platform::Paths::InFolder(home.Path());
    const std::string path = GroupFile::PathIn(paths);
    const std::string damaged = std::string("[Group1]\n0=a{2}/x.vxs\n") + std::string(64, '\0') + "binary";
    WriteTextFile(path, damaged);

    chordella::testing::ScriptedPrompter prompter;
    testing::AbsentPlaylist noPlaylist;
    StyleManager manager(prompter, paths, noPlaylist);
    EXPECT_FALSE(manager.Open());
    ASSERT_EQ(prompter.Shown().size(), 1u);
    EXPECT_NE(prompter.Shown()[0].find("\"chordella.vxg\" cannot be read (not a text file)"), std::string::npos);
    EXPECT_TRUE(manager.Entries().empty());

    prompter.ClearShown();
    prompter.AnswerYes();
    manager.AddOrEdit(LoadedStyle{true, "/s/pop.vxs", StyleInfo{"4/4", 100, 5}}, "");
    ASSERT_EQ(prompter.Shown().size(), 2u);
    EXPECT_EQ(prompter.Shown()[1].rfind("The group \"Pop\" could not be saved to \"chordella.vxg\"", 0), 0u);
    EXPECT_TRUE(manager.Entries().empty());
    EXPECT_EQ(ReadTextFile(path), damaged);

    // A folder where the file should be is damaged the same way.
    TempFolder other;
    fs::create_directories(other.File("chordella.vxg"));
    GroupFile folderFile(other.File("chordella.vxg"));
    std::string error;
    EXPECT_FALSE(folderFile.Load(error));
    EXPECT_EQ(error, "is a folder, not a file");
    EXPECT_FALSE(folderFile.Save(error));
}

}  // namespace
}  // namespace chordella::library
