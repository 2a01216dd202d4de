#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::platform {
namespace {

TEST(IniFile, AMissingFileGivesEveryDefaultAndADamagedOneDefaultsOnlyWhatCannotBeRead) {
    testing::TempFolder folder;
    IniFile ini;
    std::string error;
    EXPECT_FALSE(ini.Load(folder.File("absent.ini"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ini.GetInt("Options", "Tempo", 100), 100);
    EXPECT_EQ(ini.GetString("Options", "Style", "cont1"), "cont1");
    EXPECT_TRUE(ini.GetBool("Options", "Auto", true));

    // A damaged file yields defaults for what cannot be read and keeps the rest.
    std::string text = "[Options]\nTempo=110\n";
    text += std::string("\x00\x01\xff\xfe=junk\n", 10);
    text += "Huge=" + std::string(10 * 1024 * 1024, 'x') + "\n";
    text += "no equals sign here\n[broken header\n=nokey\n";
    text += "Split=45\n";
    testing::WriteTextFile(folder.File("damaged.ini"), text);
    IniFile damaged;
    ASSERT_TRUE(damaged.Load(folder.File("damaged.ini")));
    EXPECT_EQ(damaged.GetInt("Options", "Tempo", 0), 110);
    EXPECT_EQ(damaged.GetInt("Options", "Split", 0), 45);
    EXPECT_EQ(damaged.GetString("Options", "Huge", "default"), "default");
    EXPECT_EQ(damaged.Keys("Options").size(), 2u);
}

TEST(IniFile, NumbersAreReadLikeTheProfileFunctionsReadThem) {
    IniFile ini;
    ini.Parse("[a]\nx=12abc\ny=abc\nz=-7\nw= +3 \nbig=99999999999\nempty=\n");
    const std::tuple<const char*, int, int> cases[] = {{"x", 0, 12}, {"y", 5, 5},   {"z", 0, -7},
                                                       {"w", 0, 3},  {"big", 4, 4}, {"empty", 9, 9}};
    for (const auto& [key, fallback, expected] : cases) EXPECT_EQ(ini.GetInt("a", key, fallback), expected) << key;
    EXPECT_EQ(ini.GetString("a", "empty", "d"), "");
}

TEST(IniFile, SavingKeepsOrderAndCommentsAndReadsBackTheSame) {
    testing::TempFolder folder;
    IniFile ini;
    ini.Parse("; settings\n[Options]\nB=2\nA=1\n\n[Ins-Set]\nFile=GM.VXI\n");
    ini.SetInt("Options", "C", 3);
    ini.SetString("New", "Key", "value with spaces");
    ASSERT_TRUE(ini.Save(folder.File("out.ini")));

    IniFile again;
    ASSERT_TRUE(again.Load(folder.File("out.ini")));
    EXPECT_EQ(again.Serialize(),
              "; settings\n[Options]\nB=2\nA=1\nC=3\n\n[Ins-Set]\nFile=GM.VXI\n[New]\nKey=value with spaces\n");
    EXPECT_EQ(again.GetString("new", "key", ""), "value with spaces");
}

TEST(IniFile, AWriteChangesTheKeyReadsFindInAnyBlockOfTheSectionTheFirstOfTwoEqualKeysCountsAndEraseRemovesThemAll) {
    IniFile ini;
    // Sections and keys ignore case.
    ini.Parse("[options]\nTempo=120\n[MIDICOM]\nIn=2\n");
    EXPECT_EQ(ini.GetInt("Options", "tempo", 0), 120);
    EXPECT_EQ(ini.GetInt("OPTIONS", "TEMPO", 0), 120);
    ini.SetInt("Options", "Tempo", 96);
    EXPECT_EQ(ini.Sections().size(), 2u);  // written into the existing "options" section
    EXPECT_EQ(ini.GetInt("options", "tempo", 0), 96);

    ini.Parse("[options]\nA=1\n[Options]\nB=2\n");
    ini.SetInt("Options", "B", 5);
    ini.SetInt("OPTIONS", "C", 6);
    EXPECT_EQ(ini.Serialize(), "[options]\nA=1\nC=6\n[Options]\nB=5\n");

    ini.Parse("[A]\nk=1\n[a]\nk=2\nj=3\n");
    EXPECT_EQ(ini.GetInt("A", "k", 0), 1);
    EXPECT_EQ(ini.GetInt("A", "j", 0), 3);
    ini.EraseKey("a", "K");
    EXPECT_FALSE(ini.Has("A", "k"));
    ini.EraseSection("A");
    EXPECT_TRUE(ini.Sections().empty());
}

TEST(IniFile, ReadsFindTheRightValueAfterEveryKindOfChangeAcrossAGroupOfThousandsOfKeys) {
    IniFile ini;
    ini.Parse("[Group1]\n0=first\n\n\n[a]\n1b=x\n");
    for (int i = 1; i < 4096; ++i) ini.SetString("group1", std::to_string(i), "entry " + std::to_string(i));
    EXPECT_EQ(ini.GetString("GROUP1", "0", "-"), "first");
    EXPECT_EQ(ini.GetString("Group1", "4095", "-"), "entry 4095");
    EXPECT_TRUE(ini.Serialize().starts_with("[Group1]\n0=first\n1=entry 1\n")) << "new keys before the blank lines";
    EXPECT_FALSE(ini.Has("a1", "b")) << "section a, key 1b is another key";
    EXPECT_EQ(ini.GetString("A", "1B", "-"), "x");

    const IniFile copy = ini;
    ini.EraseKey("Group1", "17");
    EXPECT_FALSE(ini.Has("Group1", "17"));
    EXPECT_EQ(ini.GetString("Group1", "18", "-"), "entry 18");
    EXPECT_EQ(copy.GetString("Group1", "17", "-"), "entry 17") << "a copy reads its own lines";
    ini.EraseSection("group1");
    ini.SetString("Group1", "0", "again");
    EXPECT_EQ(ini.GetString("Group1", "0", "-"), "again");
    EXPECT_FALSE(ini.Has("Group1", "1"));
    EXPECT_EQ(ini.Serialize(), "[a]\n1b=x\n[Group1]\n0=again\n");
    ini.Parse("[Group1]\n5=parsed\n");
    EXPECT_EQ(ini.GetString("Group1", "5", "-"), "parsed");
    EXPECT_FALSE(ini.Has("Group1", "0"));
}

}  // namespace
}  // namespace chordella::platform
