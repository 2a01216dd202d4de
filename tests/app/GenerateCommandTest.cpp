// `chordella generate` as a user runs it: the song printed and written, the same song from
// the same seed, a style from the styles folder, the list export and refused flags.
#include <gtest/gtest.h>

#include <filesystem>

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
    const int roots[4] = {48, 57, 53, 55};
    for (int m = 1; m <= 16; ++m) {
        EXPECT_EQ(memory.RecordAt(data::PositionOf(m, 1, 16)).ChordRoot, roots[(m - 1) % 4]) << m;
    }
    EXPECT_EQ(memory.RecordAt(data::PositionOf(1, 1, 16)), (data::BeatRecord{48, 1, 31, 12}));
    EXPECT_EQ(memory.RecordAt(data::PositionOf(17, 1, 16)), (data::BeatRecord{48, 1, 38, 12}));
    EXPECT_EQ(memory.RecordAt(data::PositionOf(18, 1, 16)).CommandCode, 255);
}

TEST(GenerateCommand, TheSameSeedWritesTheSameFileAndAnotherSeedAnotherSong) {
    TempFolder home;
    auto make = [&](const std::string& name, const std::string& flags) {
        const auto result = RunChordella("--home " + home.Path() + " generate -o " + home.File(name) + " " + flags);
        EXPECT_EQ(result.exitCode, 0) << result.output;
        return Bytes(home.File(name));
    };
    EXPECT_EQ(make("a.vxa", "--seed 77"), make("b.vxa", "--seed 77"));
    EXPECT_NE(make("c.vxa", "--seed 77"), make("d.vxa", "--seed 78"));
    EXPECT_EQ(make("e.vxa", "--random --seed 9"), make("f.vxa", "--random --seed 9"));
    EXPECT_EQ(make("g.vxa", "--section blues12 --seed 3"), make("h.vxa", "--section blues12 --seed 3"));
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
    EXPECT_NE(Bytes(song), std::vector<std::uint8_t>{});
}

TEST(GenerateCommand, WritesTheProgressionListAndRefusesWrongFlagsWithoutWriting) {
    TempFolder home;
    const auto csv = RunChordella("--home " + home.Path() + " generate --csv");
    ASSERT_EQ(csv.exitCode, 0) << csv.output;
    std::string text, error;
    ASSERT_TRUE(platform::ReadTextFile(home.File("CCPList.csv"), 1 << 20, text, error)) << error;
    EXPECT_EQ(text.rfind("COMMON CHORD PROGRESSIONS\n", 0), 0u);

    const std::string song = home.File("bad.vxa");
    struct Case { const char* flags; const char* message; };
    for (const Case& c : {Case{"--row 100", "--row"}, Case{"--key H", "--key H"}, Case{"--measures 0", "Wrong measure value !"},
                          Case{"--section 3", "--section"}, Case{"--range 50-20", "Wrong upper range limit number !"},
                          Case{"--lock 1", "bad.vxa"}}) {
        const auto result = RunChordella("--home " + home.Path() + " generate -o " + song + " " + c.flags);
        EXPECT_EQ(result.exitCode, 1) << c.flags << ": " << result.output;
        EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
        EXPECT_FALSE(std::filesystem::exists(song)) << c.flags;
    }
}

}  // namespace
}  // namespace chordella
