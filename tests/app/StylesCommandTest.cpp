// `chordella styles …` run as a user runs it: adding other makers' styles (and the shared
// corpus where present) and the bundled styles, searching them, and the list maintenance
// with its backups.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "data/StyleFile.h"
#include "platform/Files.h"
#include "support/KeyboardStyleWriter.h"
#include "support/RunChordella.h"
#include "support/StyleBuilder.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"
#include "support/TestPaths.h"

namespace chordella::app {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::ReadTextFile;
using testing::RunChordella;
using testing::TempFolder;
using testing::WriteTextFile;

// The corpus styles whose manifest lists the meter 3/4, and the bundled styles whose
// header asks for 12 units per measure: names a search for "+3/4" must find.
std::set<std::string> ThreeFourStyles(const std::string& corpus) {
    std::set<std::string> names;
    std::ifstream manifest(corpus + "/MANIFEST.tsv");
    for (std::string line; std::getline(manifest, line);) {
        std::vector<std::string> columns;
        std::stringstream fields(line);
        for (std::string column; std::getline(fields, column, '\t');) columns.push_back(column);
        if (columns.size() > 18 && columns[1] == "style" && columns[18] == "3/4") names.insert(columns[0]);
    }
    for (const auto& entry : fs::directory_iterator(chordella::testing::AssetsFolder() + "/styles")) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        data::StyleImage image;
        if (platform::ReadFileBytes(entry.path().string(), 1 << 20, bytes, error) && data::ReadStyleFile(bytes, image, error) &&
            image.Header.StyleMeter == 12)
            names.insert(entry.path().filename().string());
    }
    return names;
}

std::set<std::string> HitNames(const std::string& output) {
    std::set<std::string> names;
    std::stringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Found: ", 0) == 0) continue;
        names.insert(fs::path(line.substr(0, line.find('\t'))).filename().string());
    }
    return names;
}

TEST(StylesCommand, AddingOtherMakersAndTheBundledStylesThenSearchingFindsExactlyTheThreeFourOnes) {
    TempFolder home, written;
    using testing::SampleKeyboardStyle;
    ASSERT_TRUE(SampleKeyboardStyle({.Numerator = 3}).Write(written.File("Waltz.sty")));
    ASSERT_TRUE(SampleKeyboardStyle().Tempo(160).Write(written.File("Trance.prs")));
    ASSERT_TRUE(SampleKeyboardStyle({.Numerator = 6, .Denominator = 8}).Write(written.File("Jig.bcs")));
    ASSERT_TRUE(SampleKeyboardStyle({.Numerator = 2}).Tempo(170).Write(written.File("March.sst")));
    const std::string corpus = testing::DefaultCorpusFolder();
    const bool withCorpus = fs::exists(corpus + "/styles");
    const CommandResult add = RunChordella("--home " + home.Path() + " styles add " + written.Path() + " " +
                                           testing::AssetsFolder() + "/styles " +
                                           (withCorpus ? "'" + corpus + "/styles' " : "") + "--describe 'gig set'");
    ASSERT_EQ(add.exitCode, 0) << add.output;
    std::set<std::string> expected = ThreeFourStyles(corpus);
    expected.insert("Waltz.sty");
    ASSERT_GE(expected.size(), 2u) << "the bundled styles have a waltz";

    const CommandResult search = RunChordella("--home " + home.Path() + " styles search '+3/4'");
    ASSERT_EQ(search.exitCode, 0) << search.output;
    EXPECT_EQ(HitNames(search.output), expected) << search.output;
    EXPECT_NE(search.output.find("Waltz.sty\t110\t3/4\tgig set\tBASS"), std::string::npos) << search.output;

    // NOT and a tempo limit: every hit is neither 3/4 nor 2/4 and above 150 bpm.
    const CommandResult fast = RunChordella("--home " + home.Path() + " styles search -- '-3/4; -2/4; >150'");
    ASSERT_EQ(fast.exitCode, 0) << fast.output;
    std::set<std::string> fastOnes{"Trance.prs"};
    if (withCorpus) fastOnes.insert("6-8Trance.S544.prs");
    EXPECT_EQ(HitNames(fast.output), fastOnes) << fast.output;
}

TEST(StylesCommand, MaintenanceKeepsBackupsAndRefusesBadQueries) {
    TempFolder home;
    // The same style in two folders: one style, the copy is a duplicate.
    testing::StyleBuilder style;
    style.Part(data::StylePart::Basic).Note(1, 40, 100, 0, 12);
    fs::create_directories(home.File("STYLES/a"));
    fs::create_directories(home.File("STYLES/b"));
    ASSERT_TRUE(style.Write(home.File("STYLES/a/Pop.vxs")) && style.Write(home.File("STYLES/b/pop.VXS")));
    const std::string list = home.File("mine.txt");
    const std::string text = "C:\\STYLES\\a\\Pop.vxs|bpm90|4/4\r\nC:\\STYLES\\b\\pop.VXS|bpm90|4/4\r\nC:\\STYLES\\Gone.sty|bpm90|4/4\r\n";
    WriteTextFile(list, text);

    const CommandResult dedupe = RunChordella("--home " + home.Path() + " styles dedupe --playlist " + list);
    ASSERT_EQ(dedupe.exitCode, 0) << dedupe.output;
    EXPECT_NE(dedupe.output.find("1 style(s) was/were deleted from the current playlist !"), std::string::npos);
    EXPECT_EQ(ReadTextFile(home.File("mine.bak")), text);

    const CommandResult prune = RunChordella("--home " + home.Path() + " styles prune --playlist " + list);
    ASSERT_EQ(prune.exitCode, 0) << prune.output;
    EXPECT_EQ(ReadTextFile(list), "C:\\STYLES\\a\\Pop.vxs|bpm90|4/4\r\n");
    EXPECT_EQ(ReadTextFile(home.File("LISTS/Deleted_Entries.txt")), "C:\\STYLES\\Gone.sty|bpm90|4/4\r\n");

    // The query rules, the favourites and their backups are the playlist's (tests/library
    // StylePlaylistTest); here that the commands reach them and say when they refuse.
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += "+w" + std::to_string(i) + ";";
    const CommandResult refused = RunChordella("--home " + home.Path() + " styles search '" + sixteen + "' --playlist " + list);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.output.find("at most 15"), std::string::npos) << refused.output;

    const CommandResult missing = RunChordella("--home " + home.Path() + " styles favorite " + home.File("none.vxs"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(fs::exists(home.File("LISTS/StyleFavorites.sea")));
    WriteTextFile(home.File("LISTS/StyleFavorites.sea"), text);
    const CommandResult exported = RunChordella("--home " + home.Path() + " styles favorites export");
    ASSERT_EQ(exported.exitCode, 0) << exported.output;
    EXPECT_EQ(ReadTextFile(home.File("LISTS/StyleFavorites.txt")), text);
    EXPECT_EQ(RunChordella("--home " + home.Path() + " styles favorites sort").exitCode, 1);
}

// A playlist of binary garbage is no list: searching it and adding to it are refused and
// the file stays as it was. A chart is said to be no style; a
// query may begin with '-'.
TEST(StylesCommand, WhatIsNoPlaylistOrNoStyleIsRefusedAndNothingChanges) {
    TempFolder home;
    std::string garbage = "MThd";
    for (int i = 0; i < 300; ++i) garbage += static_cast<char>((i * 37 + 5) % 256);
    const std::string list = home.File("bad.gen");
    WriteTextFile(list, garbage);
    const std::string style = chordella::testing::AssetsFolder() + "/styles/pop16.vxs";
    const std::string in = "--home " + home.Path() + " styles ";
    for (const std::string& action : std::vector<std::string>{"search pop", "add '" + style + "'", "dedupe"}) {
        const CommandResult refused = RunChordella(in + action + " --playlist " + list);
        EXPECT_EQ(refused.exitCode, 1) << action;
        EXPECT_NE(refused.output.find(list + ": not a list of styles: line 1 holds control bytes"), std::string::npos)
            << refused.output;
        EXPECT_EQ(refused.output.find(list + ": " + list), std::string::npos) << "the file is named once";
        EXPECT_EQ(ReadTextFile(list), garbage) << action;
    }

    WriteTextFile(home.File("chart.txt"), "{title: Blues}\n[C7] [F7] [C7] [G7]\n");
    const CommandResult chart = RunChordella(in + "favorite " + home.File("chart.txt"));
    EXPECT_EQ(chart.exitCode, 1);
    EXPECT_NE(chart.output.find("not a style"), std::string::npos) << chart.output;
    EXPECT_EQ(chart.output.find("Standard MIDI-File"), std::string::npos) << chart.output;

    WriteTextFile(home.File("mine.txt"), style + "|bpm96|4/4\r\n");
    const CommandResult dash = RunChordella(in + "search -pop --playlist " + home.File("mine.txt"));
    EXPECT_EQ(dash.exitCode, 0) << dash.output;
    EXPECT_NE(dash.output.find("Found: "), std::string::npos) << dash.output;
}

}  // namespace
}  // namespace chordella::app
