// `chordella generate` as a user runs it: the song printed and written, the same song from
// the same seed, a style from the styles folder, the list export and refused flags.
#include <gtest/gtest.h>

#include <filesystem>

#include "composer/ProgressionTable.h"
#include "data/ChordMemory.h"
#include "data/SongFile.h"
#include "platform/Files.h"
#include "support/RunChordella.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"

namespace chordella {
namespace {

using testing::RunChordella;
using testing::TempFolder;

std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(platform::ReadFileBytes(path, 1 << 24, bytes, error)) << error;
    return bytes;
}

data::ArrangementState ReadSong(const std::string& path) {
    const data::SongReadResult read = data::ReadSongFile(Bytes(path));
    EXPECT_TRUE(read.Ok) << read.Error;
    data::ArrangementState song;
    data::ApplySongFile(read.Content, song);
    return song;
}

constexpr const char* FixedFlags = "--every-measure --no-base-chord --no-tempo-variations";

TEST(GenerateCommand, Row0InCPrintsAndWritesCAmFGWithCommandsLoopsKeyMarkAndEnding) {
    TempFolder home;
    const std::string song = home.File("row0.vxa");
    const auto result = RunChordella("--home " + home.Path() + " generate -o " + song +
                                     " --row 0 --key C --measures 16 --seed 5 " + FixedFlags);
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("   1  I              C maj                  1:Basic 2:Loop 2x 3:Key: C maj\n"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("  16  V              G maj                  1:To Basic 3:LoopEnd\n"), std::string::npos);
    EXPECT_NE(result.output.find("  17  I              C maj                  1:Ending\n"), std::string::npos);
    EXPECT_NE(result.output.find("  18                                        1:STOP\n"), std::string::npos);

    const data::ArrangementState written = ReadSong(song);
    const data::ChordMemory& memory = written.Chords;
    EXPECT_EQ(memory.ChordMemoryLength, 4 + 18 * 16);
    EXPECT_EQ(memory.RecordAt(data::PositionOf(1, 1, 16)), (data::BeatRecord{48, 1, 31, 12}));
    EXPECT_EQ(memory.RecordAt(data::PositionOf(17, 1, 16)), (data::BeatRecord{48, 1, 38, 12}));
    EXPECT_EQ(memory.RecordAt(data::PositionOf(18, 1, 16)).CommandCode, 255);
}

TEST(GenerateCommand, ChoosesAStyleFromTheStylesFolderAndPlaysItsMeter) {
    TempFolder home;
    std::filesystem::create_directories(home.File("STYLES"));
    std::filesystem::copy_file(chordella::testing::AssetsFolder() + "/styles/waltz.vxs", home.File("STYLES/waltz.vxs"));
    const auto result = RunChordella("--home " + home.Path() + " generate -o " + home.File("w.vxa") +
                                     " --row 0 --key C --measures 8 --seed 1 " + FixedFlags);
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("waltz.vxs"), std::string::npos) << result.output;
    const data::ArrangementState written = ReadSong(home.File("w.vxa"));
    EXPECT_NE(written.StyleReference.find("waltz.vxs"), std::string::npos);
    EXPECT_EQ(written.Chords.SongMeter(), 12);
    // In 3/4 the Basic command follows the first phrase on the next measure's first beat.
    EXPECT_EQ(written.Chords.RecordAt(data::PositionOf(5, 1, 12)).CommandCode, 31);
}

TEST(GenerateCommand, LockedMeasuresKeepTheirChordsWhenTheSongIsMadeAgain) {
    TempFolder home;
    const std::string song = home.File("lock.vxa");
    ASSERT_EQ(RunChordella("--home " + home.Path() + " generate -o " + song + " --group-chords --seed 1").exitCode, 0);
    const data::ArrangementState before = ReadSong(song);
    const auto result = RunChordella("--home " + home.Path() + " generate -o " + song + " --group-chords --seed 2 --lock 2,3");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    const data::ArrangementState after = ReadSong(song);
    for (int m : {2, 3}) {
        for (int beat = 1; beat <= 4; ++beat) {
            EXPECT_EQ(after.Chords.RecordAt(data::PositionOf(m, beat, 16)), before.Chords.RecordAt(data::PositionOf(m, beat, 16)));
        }
    }
}

// The list is written into a data home that does not exist yet: it is made for it.
TEST(GenerateCommand, WritesTheProgressionListAndRefusesWrongFlagsWithoutWriting) {
    TempFolder folder;
    const std::string home = folder.File("fresh/home");
    const auto csv = RunChordella("--home " + home + " generate --csv");
    ASSERT_EQ(csv.exitCode, 0) << csv.output;
    std::string text, error;
    ASSERT_TRUE(platform::ReadTextFile(home + "/CCPList.csv", 1 << 20, text, error)) << error;
    EXPECT_EQ(text.rfind("COMMON CHORD PROGRESSIONS\n", 0), 0u);

    const std::string song = folder.File("bad.vxa");
    struct Case { const char* flags; const char* message; int code; };
    for (const Case& c : {Case{"--row 100", "--row", 1}, Case{"--key H", "--key H", 1}, Case{"--measures 0", "--measures", 2},
                          Case{"--section 3", "--section", 1}, Case{"--range 50-20", "Wrong upper range limit number !", 1},
                          Case{"--lock 1", "bad.vxa", 1}}) {
        const auto result = RunChordella("--home " + home + " generate -o " + song + " " + c.flags);
        EXPECT_EQ(result.exitCode, c.code) << c.flags << ": " << result.output;
        EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
        EXPECT_FALSE(std::filesystem::exists(song)) << c.flags;
    }
}

// What a generated song needs to be used at once: locked measures that exist, the rows of
// the section asked for, and a style named in the song.
TEST(GenerateCommand, AGeneratedSongNamesItsStyleAndTheFlagsMeanWhatTheySay) {
    TempFolder folder;
    const std::string home = folder.File("fresh/home");

    const std::string song = folder.File("blues.vxa");
    const auto blues = RunChordella("--home " + home + " generate -o " + song + " --section blues16 --measures 16 --seed 4");
    ASSERT_EQ(blues.exitCode, 0) << blues.output;
    const std::size_t row = blues.output.find("Progr. ");
    ASSERT_NE(row, std::string::npos) << blues.output;
    const int number = std::stoi(blues.output.substr(row + 7));
    EXPECT_TRUE(number >= composer::Blues16Start && number < composer::Blues12Start) << "a 16-bar row: " << number;

    const data::ArrangementState written = ReadSong(song);
    EXPECT_TRUE(written.HasStyleReference && !written.StyleReference.empty()) << "the song names its style";
    const auto rendered = RunChordella("--home " + home + " render " + song + " -o " + folder.File("blues.mid"));
    EXPECT_EQ(rendered.exitCode, 0) << rendered.output;

    const std::vector<std::uint8_t> before = Bytes(song);
    const auto locked = RunChordella("--home " + home + " generate -o " + song + " --lock 2,99");
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_NE(locked.output.find("--lock 99"), std::string::npos) << locked.output;
    EXPECT_EQ(Bytes(song), before) << "the song stays as it was";
}

}  // namespace
}  // namespace chordella
