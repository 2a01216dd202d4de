#include "data/InstrumentSet.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "support/TempFolder.h"

namespace chordella::data {
namespace {

std::string ThreePrograms(std::string_view descriptor) {
    return "Piano\nOrgan\nStrings\n" + std::string(descriptor) + "\n";
}

struct DescriptorCase {
    const char* descriptor;
    int patchMode;
    bool mapping;
    bool secondFlag;
};

TEST(InstrumentSet, TheDescriptorChoosesPatchModeAndMappingWhichCharactersFiveToSevenName) {
    const DescriptorCase cases[] = {
        {"[0] Module", 0, false, false}, {"[1] Module", 1, false, false}, {"[2] Module", 2, false, false},
        {"[3] Module", 0, true, false},  {"[5] Module", 2, true, false},  {"[6] Module", 0, true, true},
        {"[9] Module", 3, true, true},   {"[x] Module", 0, false, false}, {"-", 0, false, false},
    };
    for (const DescriptorCase& c : cases) {
        const auto set = ParseInstrumentSet(ThreePrograms(c.descriptor), "mod.vxi");
        ASSERT_TRUE(set) << c.descriptor;
        EXPECT_EQ(set->PatchMode, c.patchMode) << c.descriptor;
        EXPECT_EQ(set->ProgramMapping, c.mapping) << c.descriptor;
        EXPECT_EQ(set->SecondFlag, c.secondFlag) << c.descriptor;
        EXPECT_EQ(set->ProgramCount(), 3u);
        EXPECT_EQ(set->Name, "MOD.VXI");
    }

    const auto set = ParseInstrumentSet("000 081 Piano\n001  16 Organ\n002 Strings\n003 200 Pad\n[4] Map\n", "m.vxi");
    ASSERT_TRUE(set);
    EXPECT_EQ(set->MappedProgram(0), 81);
    EXPECT_EQ(set->MappedProgram(1), 16);
    EXPECT_FALSE(set->MappedProgram(2));  // no number there
    EXPECT_FALSE(set->MappedProgram(3));  // not a program number
    EXPECT_FALSE(set->MappedProgram(4));  // the descriptor is no program
    EXPECT_FALSE(set->MappedProgram(-1));
}

// Line ends of either kind and trailing blank lines do not count; control bytes and overlong
// lines are tamed; a text without programs is refused with a reason.
TEST(InstrumentSet, TheTextIsTamedAndATextWithoutProgramsIsRefused) {
    const auto set = ParseInstrumentSet("Piano\r\nOrgan\r\n[1] Module\r\n\r\n  \n", "m.vxi");
    ASSERT_TRUE(set);
    EXPECT_EQ(set->ProgramCount(), 2u);
    EXPECT_EQ(set->Lines[1], "Organ");
    EXPECT_EQ(set->PatchMode, 1);

    std::string text = "Pi\x01\x02no\n" + std::string(5000, 'x') + "\n[0]\n";
    text[3] = '\0';
    const auto wild = ParseInstrumentSet(text, "w.vxi");
    ASSERT_TRUE(wild);
    EXPECT_EQ(wild->Lines[0], "Pi  no");  // a NUL and a control byte became spaces
    EXPECT_EQ(wild->Lines[1].size(), InstrumentSet::MaxLineLength);

    std::string error;
    EXPECT_FALSE(ParseInstrumentSet("", "e.vxi", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ParseInstrumentSet("[0] only a descriptor\n", "e.vxi"));
}

TEST(InstrumentSet, AFileIsReadAndNamedInUpperCaseWhileNoSetAMissingFileAPipeOrAFolderGiveTheBuiltInList) {
    testing::TempFolder folder;
    std::ofstream(folder.File("db50xg.vxi")) << ThreePrograms("[2] XG module");
    const InstrumentSet set = ActiveInstrumentSet(folder.File("db50xg.vxi"));
    EXPECT_EQ(set.Name, "DB50XG.VXI");
    EXPECT_EQ(set.Path, folder.File("db50xg.vxi"));
    EXPECT_EQ(set.PatchMode, 2);

    EXPECT_EQ(ActiveInstrumentSet("").Name, "GM.VXI");
    std::string error;
    EXPECT_EQ(ActiveInstrumentSet(folder.File("gone.vxi"), &error).Name, "GM.VXI");
    EXPECT_NE(error.find("gone.vxi"), std::string::npos);
    ASSERT_EQ(mkfifo(folder.File("pipe.vxi").c_str(), 0600), 0);
    EXPECT_FALSE(LoadInstrumentSet(folder.File("pipe.vxi"), &error)) << "a pipe never blocks";
    EXPECT_NE(error.find("not a file"), std::string::npos);
    EXPECT_EQ(ActiveInstrumentSet(folder.Path()).Name, "GM.VXI");
}

}  // namespace
}  // namespace chordella::data
