// The lead sheet and the channel-value text.
#include <gtest/gtest.h>

#include "SongNotation.h"
#include "composer/EditorGrid.h"
#include "composer/LeadSheet.h"

namespace chordella::composer {
namespace {

TEST(LeadSheet, ShowsTheGridWithAndWithoutCommandsUnderAFileNameWithoutFolderAndTempo) {
    data::ChordMemory memory = test::Song("C+L2 . . G | F . Dm . | STOP . . .");
    memory.SetRecord(8, {0, 0, 7, data::ParamKeyMajor});  // "Key: G maj" on beat 2
    const GridContext grid;
    const std::vector<GridRow> rows = BuildGrid(memory, grid);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Label, "001");
    EXPECT_EQ(rows[0].Cells, (std::vector<std::string>{"C maj, Loop 2x", "Key: G maj", "   ", "G maj "}));
    EXPECT_TRUE(rows[2].HoldsStop);
    EXPECT_EQ(BeatHeaders(12), (std::vector<std::string>{"1/4", "2/4", "3/4"}));

    LeadSheetInput input;
    input.Tempo = 96;
    input.StyleReference = "STYLES/cont1.vxs";
    input.Instruments = {"Flute", "Oboe"};
    const std::string full = LeadSheetText(memory, grid, input, LeadSheetVariant::ChordsAndCommands);
    EXPECT_EQ(full,
              "Lead Sheet - Metrum: 4/4 - Tempo: 96\n\nStyle: STYLES/cont1.vxs\n"
              "001 | C maj, Loop 2x    | Key: G maj        |                   | G maj              |\n"
              "002 | F maj             |                   | D min             |                    |\n"
              "003 | STOP              |                   |                   |                    |\n"
              "\nInstruments ...\n01 Flute\n02 Oboe\n\nSet of melodyinstruments and functions ...\n");
    const std::string chords = LeadSheetText(memory, grid, input, LeadSheetVariant::ChordsOnly);
    EXPECT_NE(chords.find("Measures & Beats ...\n001 | C maj             | Key: G maj"), std::string::npos) << chords;
    EXPECT_NE(chords.find("003 | STOP ENDING       |"), std::string::npos) << chords;

    EXPECT_EQ(LeadSheetFileName("/songs/Blue Bossa-T132.vxa"), "LeadSheet-Blue Bossa.txt");
    EXPECT_EQ(LeadSheetFileName("C:\\SONGS\\demo2.vxa"), "LeadSheet-demo2.txt");
    EXPECT_EQ(LeadSheetFileName("Take-Two.vxa"), "LeadSheet-Take-Two.txt");
    EXPECT_EQ(LeadSheetFileName(""), "LeadSheet-Untitled.txt");
}

TEST(LeadSheet, ChannelValuesListTheChannelsWithAProgram) {
    midi::ControllerTable table;
    table.SetValue(0, midi::ControllerTable::ProgramIndex, 73);
    table.SetValue(0, 7, 100);
    table.SetValue(9, midi::ControllerTable::ProgramIndex, 0);
    std::vector<std::string> names(128, "?");
    names[73] = "Flute";
    const std::string text = ChannelValuesText(table, names);
    EXPECT_EQ(text.substr(0, text.find("LSB")), "Channel Values ...\n\nChannel 01 - Flute\nMSB        : #176 #00    \n");
    EXPECT_NE(text.find("Patch      : #192 ---  73\nVolume     : #176 #07 100\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nChannel 10 - Drums\n"), std::string::npos);
    EXPECT_EQ(text.find("Channel 02"), std::string::npos);
}

}  // namespace
}  // namespace chordella::composer
