// Instrument keys, set texts and the function names and bindings the remote control uses.

#include <gtest/gtest.h>

#include "remote/InstrumentKeys.h"
#include "remote/RemoteBindings.h"
#include "remote/RemoteFunctions.h"

namespace chordella::remote {
namespace {

TEST(InstrumentSetTexts, TheBuiltInGmSetPutsItsInstrumentsOnKeysZeroToElevenAndComesBackAsText) {
    InstrumentKeyTable keys;
    keys.SetListEntries(130);  // as the built-in text was made
    ASSERT_EQ(keys.LoadInstrumentSet(BuiltInInstrumentSet("gm")), -1);
    const int expected[] = {0, 5, 17, 22, 26, 41, 56, 61, 65, 80, 87, 105};
    for (int k = 0; k < SetKeyCount; ++k) {
        EXPECT_EQ(keys.Record(k).Code, expected[k]) << k;
        EXPECT_EQ(keys.Record(k), (InstrumentKeyRecord{keys.Record(k).Code, 105, 64, 75, 10}));
    }
    EXPECT_EQ(keys.MakeSetText(), BuiltInGmSet);
    EXPECT_EQ(keys.MakeSetText(9).substr(39), "010");
    EXPECT_EQ(keys.LoadInstrumentSet(keys.MakeSetText(9)), 9) << "the Minus One channel comes back";
}

TEST(InstrumentSetTexts, CodesBeyondTheListBecomeZeroFunctionsGetLevelOneAndDamagedTextsChangeNothing) {
    InstrumentKeyTable keys;
    keys.SetListEntries(20);  // 19 programs and the descriptor
    ASSERT_TRUE(keys.LoadInstrumentSet("020018019976924000000000000000000000000000"));
    EXPECT_EQ(keys.Record(0).Code, 18);
    EXPECT_EQ(keys.Record(1).Code, 0) << "19 is not below the entry count - 1";
    EXPECT_EQ(keys.Record(2), (InstrumentKeyRecord{976, 1, 0, 0, 0}));
    EXPECT_EQ(keys.Record(3).Code, 924);
    const InstrumentKeyRecord before = keys.Record(0);
    EXPECT_FALSE(keys.LoadInstrumentSet("020018"));
    EXPECT_FALSE(keys.LoadInstrumentSet("020x18019976924000000000000000000000000000"));
    EXPECT_EQ(keys.Record(0), before);
}

TEST(InstrumentSetTexts, TheFunctionSetFillsBothHalvesAndAMixerKeyAtVolumeZeroIsNotAssigned) {
    InstrumentKeyTable keys;
    ASSERT_TRUE(keys.LoadFunctionSet(BuiltInFunctionSet));
    EXPECT_EQ(keys.FunctionCode(0), 976) << "Start/Stop";
    EXPECT_EQ(keys.FunctionCode(11), 990);
    EXPECT_EQ(keys.Record(12), keys.Record(0));
    keys.StoreFromMixer(12, 40, 0, 64, 0, 0);
    EXPECT_FALSE(keys.Record(12).Assigned());
    EXPECT_EQ(keys.FunctionCode(0), 0);
    keys.SetFunction(13, 27);
    EXPECT_EQ(keys.FunctionCode(1), 927) << "MIDI command 3";
}

TEST(RemoteFunctionNames, FunctionsAreFoundByNumberNameOrTheOnePartThatFits) {
    EXPECT_EQ(FindFunction("1"), 1);
    EXPECT_EQ(FindFunction("start/stop"), function::StartStop);
    EXPECT_EQ(FindFunction("Next section"), NextSectionFunction);
    EXPECT_EQ(FindFunction("Fill"), function::FillIn);
    EXPECT_EQ(FindFunction("MIDI command num.Key 4"), 54);
    EXPECT_FALSE(FindFunction("Tempo")) << "two functions fit";
    EXPECT_FALSE(FindFunction("60"));
    EXPECT_FALSE(FindFunction(""));
}

TEST(RemoteBindingsText, BindingsComeBackFromTheirTextAndDamagedLinesAreNamed) {
    RemoteBindings bindings = RemoteBindings::FootSwitchDefaults();
    bindings.Bind({BindingKind::Note, 9, 36, 15});
    bindings.Bind({BindingKind::Program, 0, 5, 53});
    const std::optional<RemoteBindings> back = RemoteBindings::Parse(bindings.Text());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->List(), bindings.List());
    std::string error;
    for (const char* bad : {"1 cc 1", "1 pedal 1 64", "99 cc 1 64", "1 cc 17 64", "1 cc 1 128", "1 cc 1 64 x"}) {
        EXPECT_FALSE(RemoteBindings::Parse(std::string("# mine\n0 note 1 60\n") + bad, &error)) << bad;
        EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << error;
    }
}

TEST(RemoteBindingsMatch, APedalCallsItsFunctionOncePerPressAndItsReleaseIsTakenToo) {
    RemoteBindings bindings = RemoteBindings::FootSwitchDefaults();
    std::vector<int> called;
    const auto send = [&](int status, int data1, int data2) {
        const BindingMatch match = bindings.Match(static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1),
                                                  static_cast<std::uint8_t>(data2));
        if (match.Function) called.push_back(*match.Function);
        return match.Consumed;
    };
    EXPECT_TRUE(send(0xB3, 64, 127));
    EXPECT_TRUE(send(0xB3, 64, 100)) << "a half-pedal wobble is no second press";
    EXPECT_TRUE(send(0xB3, 64, 0));
    EXPECT_TRUE(send(0xB3, 64, 127));
    EXPECT_TRUE(send(0xB0, 67, 127));
    EXPECT_FALSE(send(0xB0, 7, 100));
    EXPECT_EQ(called, (std::vector<int>{function::StartStop, function::StartStop, NextSongFunction}));
}

}  // namespace
}  // namespace chordella::remote
