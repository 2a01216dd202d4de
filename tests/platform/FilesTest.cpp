#include "platform/Files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "support/TempFolder.h"

namespace chordella::platform {
namespace {

TEST(Files, AnAtomicWriteReplacesTheFileWholeAndAFailedOneSaysWhyAndLeavesTheOldFile) {
    testing::TempFolder folder;
    const std::string path = folder.File("song.vxa");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, std::string_view("old content"), error));
    ASSERT_TRUE(WriteFileAtomically(path, std::string_view("new"), error));
    std::string text;
    ASSERT_TRUE(ReadTextFile(path, 1024, text, error));
    EXPECT_EQ(text, "new");
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

    // A failed write reports why and leaves the old file; a target that is a folder fails at
    // the rename and the temporary file is removed.
    error.clear();
    EXPECT_FALSE(WriteFileAtomically(folder.File("missing/dir/x.vxs"), std::string_view("x"), error));
    EXPECT_FALSE(error.empty());
    std::filesystem::create_directory(folder.File("taken"));
    std::filesystem::create_directory(folder.File("taken/inside"));
    error.clear();
    EXPECT_FALSE(WriteFileAtomically(folder.File("taken"), std::string_view("x"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
    ASSERT_TRUE(ReadTextFile(path, 1024, text, error));
    EXPECT_EQ(text, "new");
}

// A save killed between writing its temporary and the rename leaves the temporary behind.
// The next save into that folder removes those, and nothing a running save still writes.
TEST(Files, TheNextSaveRemovesWhatKilledSavesLeftAndNothingElse) {
    namespace fs = std::filesystem;
    testing::TempFolder folder;
    const pid_t child = fork();
    if (child == 0) _exit(0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);  // a saving process that has ended
    const std::string dead = std::to_string(child);
    const std::string alive = std::to_string(getpid());
    const auto make = [&](const std::string& name, bool old) {
        std::ofstream(folder.File(name)) << "half a song";
        if (old) fs::last_write_time(folder.File(name), fs::file_time_type::clock::now() - std::chrono::hours(2));
    };
    for (const std::string& name : std::vector<std::string>{"Song.vxa.tmp-" + dead + "-Ab12Cd", "Song.vxa.tmpAb12Cd", "Pop.vxs.batch-Qw34Er"})
        make(name, name.find(dead) == std::string::npos);
    const std::set<std::string> kept = {
        "Song.vxa.tmp-" + alive + "-Zx56Cv",  // a save of a process still running
        "Song.vxa.tmpFr78Gt",                 // no owner, but newer than this process
        "Notes.tmp", "Song.vxa.tmpAb12", ".tmpAb12Cd", "Song.vxa.tmp-" + dead + "-Ab1",
        "report.tmpfile1",  // no file "report" beside it: not a save's
        "Song.vxa", "Pop.vxs"};
    for (const std::string& name : kept) make(name, name != "Song.vxa.tmpFr78Gt");
    fs::create_directory(folder.File("Old.vxa.tmpDirect"));  // a folder of that name stays too

    std::string error;
    ASSERT_TRUE(WriteFileAtomically(folder.File("Other.vxa"), std::string_view("x"), error)) << error;
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder.Path())) left.insert(entry.path().filename().string());
    std::set<std::string> expected = kept;
    expected.insert({"Other.vxa", "Old.vxa.tmpDirect"});
    EXPECT_EQ(left, expected);
}

TEST(Files, ReadingRefusesFilesOverTheCapAndFolders) {
    testing::TempFolder folder;
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(folder.File("big"), std::string(2000, 'x'), error));
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(ReadFileBytes(folder.File("big"), 1000, bytes, error));
    EXPECT_EQ(error, "larger than 1000 bytes");
    EXPECT_FALSE(ReadFileBytes(folder.Path(), 1000, bytes, error));
    EXPECT_FALSE(ReadFileBytes(folder.File("none"), 1000, bytes, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_TRUE(FileExists(folder.File("big")));
    EXPECT_TRUE(FolderExists(folder.Path()));
    EXPECT_FALSE(FileExists(folder.Path()));
}

TEST(Files, AWriteGoesThroughALinkKeepsTheModeAndNeverReplacesAReadOnlyFile) {
    testing::TempFolder folder;
    std::string error;
    const std::string real = folder.File("real.ini"), link = folder.File("link.ini");
    ASSERT_TRUE(WriteFileAtomically(real, std::string_view("old"), error));
    std::filesystem::permissions(real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::create_symlink("real.ini", link);

    ASSERT_TRUE(WriteFileAtomically(link, std::string_view("new"), error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    std::string text;
    ASSERT_TRUE(ReadTextFile(real, 100, text, error));
    EXPECT_EQ(text, "new");
    EXPECT_EQ(std::filesystem::status(real).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    std::filesystem::permissions(real, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_FALSE(WriteFileAtomically(link, std::string_view("lost"), error));
    EXPECT_EQ(error, "is read-only");
    ASSERT_TRUE(ReadTextFile(real, 100, text, error));
    EXPECT_EQ(text, "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
}

TEST(Files, WhatIsNotARegularFileIsNamedAndAFifoIsNeverWaitedOn) {
    testing::TempFolder folder;
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(folder.File("song.vxa"), std::string_view("x"), error));
    ASSERT_EQ(mkfifo(folder.File("pipe.vxa").c_str(), 0644), 0);
    std::filesystem::create_symlink("gone.vxa", folder.File("dangling.vxa"));
    EXPECT_EQ(WhyNotAFile(folder.File("song.vxa")), "");
    EXPECT_EQ(WhyNotAFile(folder.Path()), "is a folder, not a file");
    EXPECT_EQ(WhyNotAFile(folder.File("pipe.vxa")), "is a FIFO, not a file");
    EXPECT_EQ(WhyNotAFile(folder.File("dangling.vxa")), "is a link to a missing file");
    EXPECT_EQ(WhyNotAFile(folder.File("none.vxa")), "no such file");
    EXPECT_EQ(WhyNotAFile("/dev/null"), "is a device, not a file");

    // No writer ever opens the FIFO: the read answers at once instead of waiting.
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(ReadFileBytes(folder.File("pipe.vxa"), 100, bytes, error));
    EXPECT_EQ(error, "is a FIFO, not a file");
}

}  // namespace
}  // namespace chordella::platform
