#include "midi/PortSelection.h"

#include <gtest/gtest.h>

#include "MidiRig.h"
#include "support/ScriptedPrompter.h"

namespace chordella::midi {
namespace {

using testing::MidiRig;

TEST(PortSelection, ChoosersListDevicesMapperNoneAndAnInputOpenedFromOneStartsNoneClosesItAndAFailureIsReported) {
    MidiRig rig;
    const PortChooser inputs = MakeInputChooser(rig.backend);
    EXPECT_EQ(inputs.Entries, (std::vector<std::string>{"Keyboard", "Pads", "<None>"}));
    const PortChooser outputs = MakeOutputChooser(rig.backend);
    EXPECT_EQ(outputs.Entries, (std::vector<std::string>{"Sound Module", "Memory Synth", "<None>"}));
    EXPECT_EQ(outputs.DeviceIdOf(0), 0);
    EXPECT_EQ(outputs.DeviceIdOf(1), -1);

    chordella::testing::ScriptedPrompter prompter;
    PortChooser chooser = MakeInputChooser(rig.backend);
    chooser.Selected = 1;
    OpenInputFromChooser(chooser, *rig.input, prompter);
    EXPECT_TRUE(rig.input->IsOpen());
    EXPECT_EQ(rig.input->ProductName(), "Pads");
    EXPECT_TRUE(rig.backend.Feed(1, 0, {0x90, 60, 100}));
    EXPECT_EQ(rig.input->MessageCount(), 1) << "started";
    EXPECT_TRUE(prompter.Shown().empty());

    PortChooser none = MakeInputChooser(rig.backend);  // nothing selected
    OpenInputFromChooser(none, *rig.input, prompter);
    EXPECT_EQ(none.Selected, 2);
    EXPECT_FALSE(rig.input->IsOpen());

    rig.backend.FailOpen(true, 0, result::Allocated);
    chooser.Selected = 0;
    OpenInputFromChooser(chooser, *rig.input, prompter);
    EXPECT_EQ(prompter.Shown(), (std::vector<std::string>{"Can't open Keyboard, please check MIDI config."}));
    EXPECT_FALSE(rig.input->IsOpen());
}

// A failed main output is reported, keeps its selection and resets the controllers; a failed
// third output is reported and loses its selection, otherwise quietly.
TEST(PortSelection, AFailedOutputIsReportedTheMainResettingControllersTheThirdLosingItsSelection) {
    struct Case {
        bool third;
        int device, code, selected, expectedSelected, expectedResets, expectedRefreshes;
        const char* message;
    };
    for (const Case& c : {Case{false, -1, result::NoAudioDevice, 1, 1, 1, 1, "Can't open Memory Synth, please check MIDI config."},
                          Case{true, 0, result::Allocated, 0, -1, 0, 0, "Can't open Sound Module, please check MIDI config."}}) {
        SCOPED_TRACE(c.third ? "third output" : "main output");
        MidiRig rig;
        chordella::testing::ScriptedPrompter prompter;
        rig.backend.FailOpen(false, c.device, c.code);
        PortChooser chooser = MakeOutputChooser(rig.backend);
        chooser.Selected = c.selected;
        int resets = 0, refreshes = 0;
        OpenOutputFromChooser(chooser, *rig.output, c.third, prompter, [&] { ++resets; }, [&] { ++refreshes; });
        EXPECT_EQ(prompter.Shown(), std::vector<std::string>{c.message});
        EXPECT_EQ(resets, c.expectedResets);
        EXPECT_EQ(refreshes, c.expectedRefreshes);
        EXPECT_EQ(chooser.Selected, c.expectedSelected);
    }
}

TEST(PortSelection, ARememberedOutputBeyondTheListIsReportedExceptForTheThird) {
    MidiRig rig;
    chordella::testing::ScriptedPrompter prompter;
    PortChooser chooser = MakeOutputChooser(rig.backend);
    FillOutputChooser(chooser, 1, false, prompter);
    EXPECT_EQ(chooser.Selected, 1);
    FillOutputChooser(chooser, 3, true, prompter);
    EXPECT_EQ(chooser.Selected, -1);
    EXPECT_TRUE(prompter.Shown().empty());
    FillOutputChooser(chooser, 3, false, prompter);
    EXPECT_EQ(prompter.Shown(),
              (std::vector<std::string>{"Wrong MIDI-Output-Device: Please check MIDI IN/OUT configuration !"}));
}

TEST(PortSelection, TheControllerResetSendsResetAllOnEveryChannelAndForgetsValues) {
    MidiRig rig;
    ASSERT_TRUE(rig.output->Open());
    rig.table.SetValue(3, 7, 100);
    ControllerReset(rig.output.get(), rig.table);
    const auto sent = rig.backend.Sent(0);
    ASSERT_EQ(sent.size(), 16u);
    for (std::uint32_t channel = 0; channel < 16; ++channel) EXPECT_EQ(sent[channel].Packed, (0xB0u | channel) | 121u << 8);
    EXPECT_EQ(rig.table.Value(3, 7), ControllerTable::Unknown);
}

}  // namespace
}  // namespace chordella::midi
