// WAV files written as the samples come: sizes filled in at the end, nothing left behind
// when a render does not finish, and lengths the format cannot state refused.
#include "midi/WavFile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <numeric>

#include "midi/SynthRenderer.h"
#include "platform/Files.h"
#include "support/TempFolder.h"
#include "support/WavFile.h"

namespace chordella::midi {
namespace {

std::size_t FilesIn(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

TEST(WavStream, BlocksAppendedOneAfterAnotherMakeOneFileWithItsSizesStated) {
    testing::TempFolder folder;
    const std::string path = folder.File("out.wav");
    std::vector<std::int16_t> block(3000);
    std::iota(block.begin(), block.end(), -1500);
    WavStream stream;
    std::string error;
    ASSERT_TRUE(stream.Open(path, 2, 44100, error)) << error;
    for (int i = 0; i < 5; ++i) stream.Append(block);
    EXPECT_FALSE(platform::FileExists(path)) << "the target appears only when the file is complete";
    ASSERT_TRUE(stream.Finish(error)) << error;

    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadFileBytes(path, 1 << 20, bytes, error)) << error;
    ASSERT_EQ(bytes.size(), 44u + 5 * 3000 * 2);
    EXPECT_EQ(U32At(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(U32At(bytes, 40), 5u * 3000 * 2);
    const testing::Wav wav = testing::ReadWav(path);
    ASSERT_EQ(wav.Samples.size(), 5u * 3000);
    EXPECT_EQ(wav.Samples[3000 + 7], block[7]);
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
}

TEST(WavStream, AnUnfinishedRenderLeavesNothingAndOneOfAKilledProcessGoesAtTheNextRun) {
    testing::TempFolder folder;
    const std::string path = folder.File("song.wav");
    std::string error;
    {
        WavStream stream;
        ASSERT_TRUE(stream.Open(path, 2, 44100, error)) << error;
        stream.Append(std::vector<std::int16_t>(1000, 5));
        EXPECT_EQ(FilesIn(folder.Path()), 1u);  // the temporary file
    }
    EXPECT_EQ(FilesIn(folder.Path()), 0u);

    // Left by a process that is gone (no process has this id), and by one that still runs.
    const std::string stale = folder.File("song.wav.part-2147483000-aB3xYz");
    const std::string running = folder.File("other.WAV.part-" + std::to_string(getpid()) + "-Qw12Er");
    const std::string unrelated = folder.File("notes.txt.part-2147483000-aB3xYz");
    for (const std::string& file : {stale, running, unrelated})
        ASSERT_TRUE(platform::WriteFileAtomically(file, std::string_view("x"), error)) << error;
    WavStream stream;
    ASSERT_TRUE(stream.Open(path, 2, 44100, error)) << error;
    ASSERT_TRUE(stream.Finish(error)) << error;
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_TRUE(std::filesystem::exists(unrelated));
}

TEST(WavStream, AnInterruptedRenderRemovesItsTemporaryFile) {
    testing::TempFolder folder;
    const pid_t child = fork();
    if (child == 0) {
        RemoveTemporaryOnInterrupt();
        WavStream stream;
        std::string error;
        if (!stream.Open(folder.File("song.wav"), 2, 44100, error)) _exit(3);
        stream.Append(std::vector<std::int16_t>(1000, 5));
        raise(SIGTERM);
        _exit(4);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit code " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_EQ(FilesIn(folder.Path()), 0u);
}

TEST(WavStream, ReadOnlyTargetsAndLengthsBeyondTheFormatAreRefused) {
    testing::TempFolder folder;
    const std::string path = folder.File("locked.wav");
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(path, std::string_view("keep"), error));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    WavStream stream;
    EXPECT_FALSE(stream.Open(path, 2, 44100, error));
    EXPECT_EQ(error, "is read-only");

    EXPECT_TRUE(FitsInWav(6LL * 3600 * 1'000'000, 44100, error));
    EXPECT_FALSE(FitsInWav(7LL * 3600 * 1'000'000, 44100, error));
    EXPECT_NE(error.find("longer than a WAV file can hold (6 h 45 min)"), std::string::npos) << error;
    std::vector<TimedMessage> none;
    EXPECT_FALSE(RenderToWav(none, 7LL * 3600 * 1'000'000, folder.File("long.wav"), error));
    EXPECT_FALSE(std::filesystem::exists(folder.File("long.wav")));
}

}  // namespace
}  // namespace chordella::midi
