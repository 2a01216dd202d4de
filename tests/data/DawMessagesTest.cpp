#include "data/DawMessages.h"

#include <gtest/gtest.h>

#include <tuple>

#include "data/InstrumentSetTexts.h"
#include "data/ModuleSetup.h"
#include "platform/IniFile.h"

namespace chordella::data {
namespace {

platform::IniFile Ini(std::string_view text) {
    platform::IniFile ini;
    ini.Parse(text);
    return ini;
}

// A message's fields as read: Enabled, Command, Kind, Channel, Value, OnData, OffData.
std::tuple<bool, int, int, int, int, int, int> Fields(const DawMessage& m) {
    return {m.Enabled, m.Command, m.Kind, m.Channel, m.Value, m.OnData, m.OffData};
}

TEST(DawMessages, TheSecondDefinitionUsesTheKeysWithSuffixTwoAndNumbersNeverBecomeWildMidiBytes) {
    const DawSettings daw = ReadDawSettings(Ini("[MIDICOM]\nActive=1\nKey=3\nType=1\nChannel=10\nValue=60\n"
                                                "Data1=100\nData2=5\nActive2=0\nKey2=7\nType2=3\nChannel2=16\n"
                                                "Value2=64\nData12=127\nData22=0\n"
                                                "[DAWC]\nDAW=Recorder\nWindow=Main - Recorder\n"));
    // Channels are 1-based in the file.
    EXPECT_EQ(Fields(daw.Messages[0]), std::make_tuple(true, 3, 1, 9, 60, 100, 5));
    EXPECT_EQ(Fields(daw.Messages[1]), std::make_tuple(false, 7, 3, 15, 64, 127, 0));
    EXPECT_EQ(daw.Program, "Recorder");
    EXPECT_EQ(daw.Window, "Main - Recorder");

    const DawSettings wild =
        ReadDawSettings(Ini("[midicom]\nData1=300\nData2=-4\nValue=999\nChannel=0\nChannel2=77\nType=9\nKey=-1\n"));
    EXPECT_EQ(Fields(wild.Messages[0]), std::make_tuple(false, 0, 0, 0, 127, 127, 0));
    EXPECT_EQ(wild.Messages[1].Channel, 15);
}

TEST(InstrumentSets, AStoredTextLandsUnderItsNumberAnUnknownSetIsNotFoundAndOnlyTheDb50xgSetSendsGeneralMidiOnAndXgOn) {
    InstrumentSetTexts sets =
        ReadInstrumentSetTexts(Ini("[Ins-Set]\n1=130000005017022026041056061065080087105000\n11=433976\n"));
    EXPECT_EQ(sets.Get(1), "130000005017022026041056061065080087105000");
    EXPECT_EQ(sets.Get(11), "433976");
    EXPECT_FALSE(sets.Get(2));
    EXPECT_FALSE(sets.Get(0));
    EXPECT_FALSE(sets.Get(12));
    EXPECT_FALSE(sets.Set(12, "x"));

    platform::IniFile ini;
    WriteInstrumentSetText(ini, 4, "204000006");
    WriteInstrumentSetText(ini, 40, "lost");
    EXPECT_EQ(ReadInstrumentSetTexts(ini).Get(4), "204000006");
    EXPECT_EQ(ini.Keys("Ins-Set").size(), 1u);

    const auto messages = ModuleSetupMessages("db50xg.vxi");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], (SystemExclusive{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    EXPECT_EQ(messages[1].front(), 0xF0);
    EXPECT_EQ(messages[1][1], 0x43);  // the module maker's own message
    EXPECT_EQ(messages[1].back(), 0xF7);
    EXPECT_TRUE(ModuleSetupMessages("GM.VXI").empty());
    EXPECT_TRUE(ModuleSetupMessages("DB50XG.VXI.bak").empty());
}

}  // namespace
}  // namespace chordella::data
