// `chordella leadsheet` in each format and `chordella import` of the charts it writes, run
// as a user would run them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "data/ArrangementState.h"
#include "data/SongFile.h"
#include "platform/Files.h"
#include "support/RunChordella.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::testing {
namespace {

// A 3/4 song: C, Am on beat 3, a loop over measures 2 … 3, G7 in measure 4, then the STOP.
std::string WriteWaltz(const TempFolder& folder) {
    data::ArrangementState song;
    data::ChordMemory& memory = song.Chords;
    memory.Bytes = {};
    memory.Bytes[data::SongTempoOffset] = 90;
    memory.Bytes[data::SongMeterOffset] = 12;
    memory.SetRecord(4, {48, 1, 0, 0});
    memory.SetRecord(12, {57, 2, 0, 0});
    memory.SetRecord(16, {53, 9, data::CommandLoop, 102});
    memory.SetRecord(36, {0, 0, data::CommandLoop, 0});
    memory.SetRecord(40, {55, 3, 0, 0});
    memory.SetRecord(52, {0, 0, data::CommandStop, 0});
    memory.ChordMemoryLength = 64;
    song.Text.SongTitle = "Little Waltz";
    const auto bytes = data::WriteSongFile(data::SongFileContentOf(song, "STYLES/waltz.vxs"));
    std::string error;
    EXPECT_TRUE(platform::WriteFileAtomically(folder.File("Little Waltz-T90.vxa"), bytes, error)) << error;
    return folder.File("Little Waltz-T90.vxa");
}

std::string GridOf(const std::string& info) { return info.substr(info.find("grid:")); }

TEST(ChartCommands, EveryChartOfASongImportsBackToTheSameGrid) {
    TempFolder folder;
    const std::string song = WriteWaltz(folder);
    const CommandResult info = RunChordella("info " + Quoted(song));
    ASSERT_EQ(info.exitCode, 0) << info.output;
    EXPECT_NE(info.output.find("grid:\n001 | C maj          |                | A min          |\n"
                               "002 | F M7, Loop 2x  |                |                |\n"),
              std::string::npos) << info.output;

    // Without -o the sheet is printed, and no file appears beside the song.
    const CommandResult text = RunChordella("leadsheet " + Quoted(song));
    ASSERT_EQ(text.exitCode, 0) << text.output;
    EXPECT_TRUE(text.output.starts_with("Lead Sheet - Metrum: 3/4 - Tempo: 90\n\nStyle: STYLES/waltz.vxs\n")) << text.output;
    EXPECT_FALSE(std::filesystem::exists(folder.File("LeadSheet-Little Waltz.txt")));

    for (const char* format : {"chordpro", "ireal"}) {
        SCOPED_TRACE(format);
        const std::string chart = folder.File(std::string("chart-") + format + (format[0] == 'c' ? ".cho" : ".txt"));
        const CommandResult written = RunChordella("leadsheet " + Quoted(song) + " --format " + format + " -o " + Quoted(chart));
        ASSERT_EQ(written.exitCode, 0) << written.output;
        const std::string back = folder.File(std::string("back-") + format + ".vxa");
        const CommandResult imported = RunChordella("import " + Quoted(chart) + " -o " + Quoted(back) + " --style waltz.vxs");
        ASSERT_EQ(imported.exitCode, 0) << imported.output;
        EXPECT_NE(imported.output.find("4 measures of 3/4, 0 warnings"), std::string::npos) << imported.output;
        const CommandResult backInfo = RunChordella("info " + Quoted(back));
        // The import adds the key as a key mark on the first beat.
        std::string expected = GridOf(info.output);
        expected.replace(expected.find("C maj         "), 14, "C maj, Key: C ");
        EXPECT_EQ(GridOf(backInfo.output), expected);
        EXPECT_NE(backInfo.output.find("style: waltz.vxs"), std::string::npos);
        // The irealbook:// form carries no tempo: the song gets 120.
        EXPECT_NE(backInfo.output.find(format[0] == 'c' ? "tempo 90" : "tempo 120"), std::string::npos);
    }

    const CommandResult transposed = RunChordella("leadsheet " + Quoted(song) + " --format chordpro --transpose Bb -o -");
    EXPECT_NE(transposed.output.find("{key: D}"), std::string::npos) << transposed.output;
    EXPECT_NE(transposed.output.find("| D . Bm |: Gmaj7 . . |"), std::string::npos) << transposed.output;
}

TEST(ChartCommands, BadChartsAndFlagsAreOneLineMessages) {
    TempFolder folder;
    const std::string song = WriteWaltz(folder);
    const CommandResult transpose = RunChordella("leadsheet " + Quoted(song) + " --transpose 13 -o -");
    EXPECT_EQ(transpose.exitCode, 2);
    EXPECT_EQ(transpose.output, song + ": --transpose takes -11 … 11 semitones, Bb or Eb, not \"13\"\n");

    WriteTextFile(folder.File("odd.cho"), "{time: 4/4}\n{start_of_grid}\n| H7 . . . | C13#11 . . . :|\n{end_of_grid}\n");
    const CommandResult odd = RunChordella("import " + Quoted(folder.File("odd.cho")) + " -o " + Quoted(folder.File("odd.vxa")));
    EXPECT_EQ(odd.exitCode, 0) << odd.output;
    EXPECT_NE(odd.output.find("odd.cho: cell \"H7\" is no chord; left empty\n"), std::string::npos) << odd.output;

    // -o never writes over the song read, nor over a file of another kind without --force.
    const CommandResult overSong = RunChordella("leadsheet " + Quoted(song) + " -o " + Quoted(song));
    EXPECT_EQ(overSong.exitCode, 1);
    EXPECT_EQ(overSong.output, song + ": is the input file; write to another file\n");
    WriteTextFile(folder.File("notes.vxa"), std::string("MThd\0\0\0\6", 8));
    const CommandResult overOther =
        RunChordella("import " + Quoted(folder.File("odd.cho")) + " -o " + Quoted(folder.File("notes.vxa")));
    EXPECT_EQ(overOther.exitCode, 1);
    EXPECT_NE(overOther.output.find("is an existing file that is not a song; give --force to replace it"),
              std::string::npos) << overOther.output;
    EXPECT_EQ(ReadTextFile(folder.File("notes.vxa")).substr(0, 4), "MThd");

    WriteTextFile(folder.File("nothing.cho"), "{title: Empty}\n");
    const CommandResult nothing =
        RunChordella("import " + Quoted(folder.File("nothing.cho")) + " -o " + Quoted(folder.File("x.vxa")));
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.output, folder.File("nothing.cho") + ": no {start_of_grid} section with chords\n");
    EXPECT_FALSE(platform::FileExists(folder.File("x.vxa")));
}

}  // namespace
}  // namespace chordella::testing
