// The ten MIDI commands: what each type sends on MidiOutput3, in order.

#include <gtest/gtest.h>

#include <algorithm>

#include "RemoteRig.h"
#include "core/Session.h"
#include "remote/MidiCommands.h"

namespace chordella::testing {
namespace {

using Triples = std::vector<std::array<int, 3>>;

struct CommandRig {
    CommandRig() {
        OpenCommandOutput(*t.session);
        commands = std::make_unique<remote::MidiCommands>(*t.session, t.state.options, t.state.config,
                                                           delays);
    }
    // Command 0 becomes `type` on channel 2 with `value` and `data`.
    void Set(remote::CommandType type, int value, int data, int n = 0) {
        remote::MidiCommandTable table = commands->Table();
        table.Commands[static_cast<std::size_t>(n)] = {static_cast<int>(type), 1, value, data};
        commands->SetTable(table);
    }
    Triples Take() {
        Triples sent = Messages(*t.midi, CommandOutput);
        t.midi->ClearSent(CommandOutput);
        return sent;
    }
    TestSession t;
    ManualDelays delays;
    std::unique_ptr<remote::MidiCommands> commands;
};

TEST(MidiCommandTypes, TogglesAlternateAndTheAboveZeroTypesSendTheSameEveryTime) {
    CommandRig rig;
    rig.Set(remote::CommandType::CcToggleOnOff, 64, 127);
    for (int i = 0; i < 3; ++i) rig.commands->Execute(0);
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 64, 127}, {0xB1, 64, 0}, {0xB1, 64, 127}}));

    rig.Set(remote::CommandType::NoteToggleOnOff, 60, 90, 1);
    rig.commands->Execute(1);
    rig.commands->Execute(1);
    EXPECT_EQ(rig.Take(), (Triples{{0x91, 60, 90}, {0x81, 60, 90}}));

    rig.Set(remote::CommandType::CcToggleAboveZero, 80, 200, 2);  // data above 127 is lowered by 128
    rig.Set(remote::CommandType::NoteToggleAboveZero, 61, 100, 3);
    rig.commands->Execute(2);
    rig.commands->Execute(2);
    rig.commands->Execute(3);
    rig.commands->Execute(3);
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 80, 72}, {0xB1, 80, 72}, {0x91, 61, 100}, {0x91, 61, 100}}));
}

TEST(MidiCommandTypes, MomentaryTypesSendTheirPairAtOnce) {
    CommandRig rig;
    rig.Set(remote::CommandType::CcMomentary, 80, 127);
    rig.Set(remote::CommandType::NoteMomentary, 36, 100, 1);
    rig.commands->Execute(0);
    rig.commands->Execute(1);
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 80, 127}, {0xB1, 80, 0}, {0x91, 36, 100}, {0x81, 36, 100}}));
    EXPECT_FALSE(rig.delays.Armed());
}

TEST(MidiCommandTypes, DelayedTypesSendTheSecondHalfTwentyMillisecondsLaterOnTheTimer) {
    CommandRig rig;
    rig.Set(remote::CommandType::CcDelayed, 81, 127);
    rig.Set(remote::CommandType::NoteDelayed, 37, 100, 1);
    rig.commands->Execute(0);
    rig.delays.Advance(5);
    rig.commands->Execute(1);
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 81, 127}, {0x91, 37, 100}})) << "nothing waits in Execute";
    rig.delays.Advance(14);
    EXPECT_TRUE(rig.Take().empty());
    rig.delays.Advance(1);
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 81, 0}}));
    rig.delays.Advance(4);
    EXPECT_TRUE(rig.Take().empty());
    rig.delays.Advance(1);
    EXPECT_EQ(rig.Take(), (Triples{{0x81, 37, 100}}));
}

TEST(MidiCommandTypes, AWaitingSecondHalfIsSentWhenTheCommandsGoAway) {
    CommandRig rig;
    rig.Set(remote::CommandType::NoteDelayed, 37, 100);
    rig.commands->Execute(0);
    rig.commands.reset();
    EXPECT_EQ(rig.Take(), (Triples{{0x91, 37, 100}, {0x81, 37, 100}})) << "no note stays on";
    EXPECT_FALSE(rig.delays.Armed());
}

// The waiting halves live in a fixed ring: a burst larger than it sends the oldest halves
// early instead of growing, and every note-on still gets its note-off, in order.
TEST(MidiCommandTypes, ABurstOfDelayedCommandsBeyondTheRingSendsTheOldestHalvesEarly) {
    CommandRig rig;
    rig.Set(remote::CommandType::NoteDelayed, 37, 100);
    const int presses = static_cast<int>(remote::MaxPendingHalves) + 6;
    for (int i = 0; i < presses; ++i) rig.commands->Execute(0);
    EXPECT_EQ(rig.commands->PendingHalves(), remote::MaxPendingHalves);
    EXPECT_EQ(rig.commands->EarlyHalves(), 6u);
    rig.delays.Advance(19);
    Triples sent = rig.Take();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::array<int, 3>{0x81, 37, 100}), 6);
    rig.delays.Advance(1);
    sent = rig.Take();
    EXPECT_EQ(sent.size(), remote::MaxPendingHalves);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::array<int, 3>{0x81, 37, 100}),
              static_cast<long>(remote::MaxPendingHalves));
    EXPECT_FALSE(rig.delays.Armed());

    // After the burst the ring works on as before.
    rig.commands->Execute(0);
    rig.delays.Advance(20);
    EXPECT_EQ(rig.Take(), (Triples{{0x91, 37, 100}, {0x81, 37, 100}}));
}

TEST(MidiCommandTypes, ProgramChangeSendsBankSelectByItsRules) {
    CommandRig rig;
    rig.Set(remote::CommandType::ProgramChange, 5, 130);
    rig.commands->Execute(0);
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 0, 1}, {0xB1, 32, 2}, {0xC1, 5, 0}}));
    rig.Set(remote::CommandType::ProgramChange, 5, 7);
    rig.commands->Execute(0);
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 0, 7}, {0xB1, 32, 0}, {0xC1, 5, 0}}));
    rig.Set(remote::CommandType::ProgramChange, 5, 0);
    rig.commands->Execute(0);
    EXPECT_EQ(rig.Take(), (Triples{{0xC1, 5, 0}})) << "data 0 without bank changes allowed";
    rig.commands->AllowBankChanges = true;
    rig.commands->Execute(0);
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 0, 0}, {0xB1, 32, 0}, {0xC1, 5, 0}}));
    rig.Set(remote::CommandType::ProgramChange, 5, 999);
    rig.commands->Execute(0);
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 0, 7}, {0xB1, 32, 103}, {0xC1, 5, 0}}));
}

TEST(MidiCommandTypes, TheProgramCounterStepsWrapsToZeroAndSendsBanksAbove127) {
    CommandRig rig;
    rig.Set(remote::CommandType::NextProgram, 0, 3);
    rig.Set(remote::CommandType::PreviousProgram, 0, 3, 1);
    rig.commands->Execute(0);
    EXPECT_EQ(rig.Take(), (Triples{{0xC1, 1, 0}}));
    rig.commands->Execute(1);
    rig.commands->Execute(1);
    EXPECT_EQ(rig.Take(), (Triples{{0xC1, 0, 0}, {0xC1, 0, 0}})) << "the step to -1 becomes 0";
    EXPECT_EQ(rig.commands->ProgramCounter(), 0);
    rig.commands->SetProgramCounter(999);
    rig.commands->Execute(0);
    EXPECT_EQ(rig.commands->ProgramCounter(), 0);
    rig.commands->SetProgramCounter(299);
    rig.commands->Execute(0);
    EXPECT_EQ(rig.commands->ProgramCounter(), 300);
    EXPECT_EQ(rig.Take(), (Triples{{0xC1, 0, 0}, {0xB1, 0, 2}, {0xB1, 32, 3}, {0xC1, 44, 0}}));
}

TEST(MidiCommandRules, NothingIsSentUnlessActivatedWithAnOpenPortAndDownReturnOff) {
    CommandRig rig;
    rig.Set(remote::CommandType::CcMomentary, 80, 127);
    rig.t.state.config.Daw.Messages[1] = {true, 0, 0, 3, 20, 1, 0};
    rig.commands->RemotePan = true;
    rig.commands->SetActivated(false);
    rig.commands->Execute(0);
    rig.commands->SetActivated(true);
    rig.commands->RemoteDownReturn = true;
    rig.commands->Execute(0);
    EXPECT_TRUE(rig.Take().empty()) << "neither the command nor the workstation messages";
    rig.commands->RemoteDownReturn = false;
    rig.t.session->MidiOutput3()->Close();
    rig.commands->Execute(0);
    EXPECT_EQ(rig.commands->Refused(), 3u);
    EXPECT_EQ(rig.commands->Executed(), 0u);
    EXPECT_FALSE(rig.commands->Execute(10)) << "no command 10";
}

TEST(MidiCommandRules, WorkstationMessagesFollowTheirCommandWithPanOn) {
    CommandRig rig;
    rig.Set(remote::CommandType::CcToggleOnOff, 64, 127, 2);
    auto& daw = rig.t.state.config.Daw.Messages;
    daw[0] = {true, 2, 3, 0, 30, 100, 10};  // toggled controller 30, channel 1, command 2
    daw[1] = {true, 0, 4, 3, 40, 90, 0};    // toggled note 40, channel 4, any command
    rig.commands->Execute(2);
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 64, 127}})) << "RemotePan off";
    rig.commands->RemotePan = true;
    rig.commands->Execute(2);  // toggle now off
    EXPECT_EQ(rig.Take(), (Triples{{0xB1, 64, 0}, {0xB0, 30, 10}, {0x83, 40, 90}}));
    rig.commands->Execute(1);  // another command (all zero): the second message only
    EXPECT_EQ(rig.Take(), (Triples{{0xB0, 0, 0}, {0x93, 40, 90}}));
    rig.commands->SendDawMessages();  // command 2 + 1000: its toggle is off, data 64
    EXPECT_EQ(rig.Take(), (Triples{{0xB0, 30, 64}, {0x83, 40, 90}}));
}

}  // namespace
}  // namespace chordella::testing
