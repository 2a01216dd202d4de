#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempFolder.h"

namespace chordella::platform {
namespace {

TEST(Files, AnAtomicWriteReplacesTheFileWhole) {
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
}

TEST(Files, AFailedWriteReportsWhyAndLeavesTheOldFile) {
    testing::TempFolder folder;
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(folder.File("missing/dir/x.vxs"), std::string_view("x"), error));
    EXPECT_FALSE(error.empty());

    // The target is a folder: the rename fails, the temporary file is removed.
    std::filesystem::create_directory(folder.File("taken"));
    std::filesystem::create_directory(folder.File("taken/inside"));
    error.clear();
    EXPECT_FALSE(WriteFileAtomically(folder.File("taken"), std::string_view("x"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
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

}  // namespace
}  // namespace chordella::platform
