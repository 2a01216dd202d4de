// Command files and the settings text of the MIDI commands: what is kept, what is clamped,
// and damaged files that change nothing.

#include <gtest/gtest.h>

#include "remote/CommandFile.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace chordella::remote {
namespace {

TEST(CommandTableText, AnAllZeroTableIs120ZerosAndATableComesBackFromItsText) {
    EXPECT_EQ(TableText(MidiCommandTable{}), std::string(120, '0'));
    MidiCommandTable table;
    table.Commands[0] = {3, 15, 64, 127};
    table.Commands[9] = {10, 0, 5, 999};
    const std::string text = TableText(table);
    EXPECT_EQ(text.substr(0, 12), "003015064127");
    EXPECT_EQ(ParseTableText(text), table);
}

TEST(CommandTableText, OutOfRangeFieldsAreClampedAndDamagedTextsRefusedWithTheReason) {
    std::string text(120, '0');
    text.replace(0, 12, "011099200-05");  // type 11, channel 99, value 200, data -5
    const std::optional<MidiCommandTable> table = ParseTableText(text);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Commands[0], (MidiCommand{10, 15, 127, 0}));

    std::string error;
    EXPECT_FALSE(ParseTableText(text.substr(0, 117), &error));
    EXPECT_NE(error.find("117"), std::string::npos) << error;
    text[50] = 'x';
    EXPECT_FALSE(ParseTableText(text, &error));
    EXPECT_NE(error.find("field 17"), std::string::npos) << error;
    EXPECT_FALSE(ParseTableText(text + "000"));
}

TEST(CommandFiles, WrittenAndReadBackAndADamagedFileLeavesTheTableAsItWas) {
    testing::TempFolder folder;
    const std::string path = folder.Path() + "/MIDICommands.ccs";
    MidiCommandTable table;
    table.Commands[4] = {7, 2, 81, 127};
    std::string error;
    ASSERT_TRUE(WriteCommandFile(path, table, error)) << error;
    EXPECT_EQ(testing::ReadTextFile(path), TableText(table) + "\n");
    EXPECT_EQ(ReadCommandFile(path, error), table);

    // A file from elsewhere: carriage return, more lines after the first.
    testing::WriteTextFile(path, TableText(table) + "\r\nsomething else\r\n");
    EXPECT_EQ(ReadCommandFile(path, error), table);

    for (const std::string& damaged : {std::string(), std::string("\n") + TableText(table), TableText(table).substr(0, 60),
                                      std::string("junk junk junk")}) {
        testing::WriteTextFile(path, damaged);
        error.clear();
        EXPECT_FALSE(ReadCommandFile(path, error)) << damaged;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    EXPECT_FALSE(ReadCommandFile(folder.Path() + "/missing.ccs", error));
}

}  // namespace
}  // namespace chordella::remote
