// The remote control on the live arranger: the second input's keys, learned bindings and a
// flood of commands, over the in-memory devices.

#include <gtest/gtest.h>

#include <cstdio>

#include "ArrangerRig.h"
#include "app/LiveArranger.h"
#include "chords/SecondInput.h"
#include "cli/ArrangerCommand.h"
#include "core/Session.h"
#include "data/StyleModel.h"
#include "engine/Transport.h"
#include "midi/MidiInput.h"
#include "platform/Files.h"
#include "remote/CommandFile.h"
#include "remote/RemoteControl.h"
#include "remote/RemoteFunctions.h"
#include "support/StyleBuilder.h"

namespace chordella::testing {
namespace {

TEST(RemoteSecondInput, NotesTwelveToTwentyThreeRunTheCommandsAndWithoutActivatedTheFunctionKeys) {
    ArrangerRig rig;
    // The commands come from a command file, as `arranger --commands` reads it.
    remote::MidiCommandTable table;
    for (int n = 0; n < remote::CommandCount; ++n) table.Commands[static_cast<std::size_t>(n)] = {0, 0, 20 + n, 100};
    rig.flags.commands = rig.t.home.Path() + "/MIDICommands.ccs";
    std::string error;
    ASSERT_TRUE(remote::WriteCommandFile(rig.flags.commands, table, error)) << error;
    ASSERT_TRUE(rig.Prepare());

    for (std::uint8_t note = 12; note < 24; ++note) rig.Send({0x90, note, 100, 0x90, note, 0});
    std::vector<std::array<int, 3>> expected;
    for (int n = 0; n < remote::CommandCount; ++n) expected.push_back({0xB0, 20 + n, 100});
    EXPECT_EQ(Messages(*rig.t.midi, CommandOutput), expected) << "notes 22 and 23 have no command";
    for (const auto& m : Messages(*rig.t.midi, Mapper))
        EXPECT_FALSE((m[0] & 0xF0) == 0x90 && m[2] > 0) << "commands do not pass on";

    // The numeric pad's digits and the chord memory's requests run the same commands.
    rig.t.midi->ClearSent(CommandOutput);
    rig.Remote().Digit(3);
    ASSERT_NE(rig.t.session->MidiCommands(), nullptr) << "the live arranger wires its remote control";
    rig.t.session->MidiCommands()->RunMidiCommand(4);
    EXPECT_EQ(Messages(*rig.t.midi, CommandOutput), (std::vector<std::array<int, 3>>{{0xB0, 23, 100}, {0xB0, 24, 100}}));

    // Without "Activated", note 12 is the second input's key 0 and digit 0 its record 12:
    // Start/Stop in the function set.
    rig.Remote().Commands().SetActivated(false);
    rig.t.midi->ClearSent(CommandOutput);
    rig.Remote().Digit(0);
    EXPECT_TRUE(rig.Playing());
    rig.Remote().Digit(0);
    EXPECT_FALSE(rig.Playing());
    rig.Send({0x90, 12, 100});
    EXPECT_TRUE(rig.Playing());
    rig.Send({0x90, 12, 100});
    EXPECT_FALSE(rig.Playing());
    EXPECT_TRUE(Messages(*rig.t.midi, CommandOutput).empty());

    // An instrument key given "MIDI command num.Key 3" runs that command.
    rig.Remote().Commands().SetActivated(true);
    rig.Remote().Keys().SetFunction(remote::FirstFunctionKey + 2, remote::ProgramFunctionCount + 3);
    rig.Remote().InstrumentKey(remote::FirstFunctionKey + 2);
    EXPECT_EQ(Messages(*rig.t.midi, CommandOutput), (std::vector<std::array<int, 3>>{{0xB0, 23, 100}}));
}

TEST(RemoteSecondInput, ALearnedControllerStartsAndStopsTheStyleAndIsKeptForNextTime) {
    ArrangerRig rig;
    ASSERT_TRUE(rig.Prepare());
    std::optional<remote::Binding> learned;
    rig.Remote().StartLearning(remote::function::StartStop, [&](const remote::Binding& b) { learned = b; });
    rig.Send({0xB2, 80, 127});
    ASSERT_TRUE(learned);
    EXPECT_EQ(*learned, (remote::Binding{remote::BindingKind::Controller, 2, 80, remote::function::StartStop}));
    EXPECT_FALSE(rig.Playing()) << "the learned press only teaches";
    EXPECT_TRUE(platform::FileExists(rig.Remote().BindingsPath()));

    rig.Send({0xB2, 80, 0});
    EXPECT_FALSE(rig.Playing());
    rig.Send({0xB2, 80, 127});
    EXPECT_TRUE(rig.Playing());
    rig.Send({0xB2, 80, 0, 0xB2, 80, 127});
    EXPECT_FALSE(rig.Playing());
    rig.Send({0xB5, 80, 127});
    EXPECT_FALSE(rig.Playing()) << "bound on channel 3 only";
    for (const auto& m : Messages(*rig.t.midi, Mapper)) EXPECT_FALSE(m[0] == 0xB2 && m[1] == 80) << "taken, not passed on";

    // The foot-switch defaults give way to the file, which the next session reads.
    rig.arranger.Stop();
    TestSession again;
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(again.session->Paths().ProgramFile(remote::BindingsFileName),
                                              rig.Remote().Bindings().Text(), error));
    app::LiveArranger other(*again.session, again.state);
    EXPECT_EQ(other.Remote().Bindings().List(), rig.Remote().Bindings().List());
}

TEST(RemoteSecondInput, TheSustainPedalStartsAndTheSostenutoPedalStepsBetweenBasicAndExtended) {
    ArrangerRig rig;
    ASSERT_TRUE(rig.Prepare());
    rig.Send({0xB0, 66, 127, 0xB0, 66, 0});
    EXPECT_TRUE(rig.Playing()) << "next section starts a style that stands";
    rig.Send({0xB0, 66, 127, 0xB0, 66, 0});
    EXPECT_EQ(rig.t.state.engine.PendingCommandKey, rig.t.state.config.Keys.ToExtended);
    rig.Send({0xB0, 64, 127, 0xB0, 64, 0});
    EXPECT_FALSE(rig.Playing());
}

TEST(RemoteProgramControl, StepsStayWithinTheirLimitsAndUnknownNumbersDoNothing) {
    ArrangerRig rig;
    ASSERT_TRUE(rig.Prepare());
    app::AppState& app = rig.t.state;
    for (int i = 0; i < 14; ++i) rig.Remote().ProgramControl(remote::function::ToneUp);
    EXPECT_EQ(app.keyboard.CapoShift, 11);
    for (int i = 0; i < 9; ++i) rig.Remote().ProgramControl(remote::function::OctaveDown);
    EXPECT_EQ(app.engine.KeyboardOctave, remote::LowestOctave);
    app.clock.Tempo = 247;
    rig.Remote().ProgramControl(remote::function::TempoUp);
    EXPECT_EQ(app.clock.Tempo, 247) << "252 is beyond the tempo control";
    rig.Remote().ProgramControl(remote::function::TempoDown);
    EXPECT_EQ(app.clock.Tempo, 242);
    const std::uint64_t before = rig.Remote().FunctionsRun();
    rig.Remote().ProgramControl(60);
    rig.Remote().ProgramControl(-1);
    EXPECT_EQ(rig.Remote().FunctionsRun(), before);
    // A window's function without a window: nothing to ask, and nothing changes.
    rig.Remote().ProgramControl(remote::function::NewSong);
    EXPECT_EQ(app.clock.Tempo, 242);
    EXPECT_EQ(app.keyboard.CapoShift, 11);
}

// Ten thousand commands in a second while the style plays: each one runs, or is counted as
// dropped (it followed another in the same drain) or lost (the input's ring was full), the
// delayed halves all go out and the style keeps playing.
TEST(RemoteSecondInput, AFloodOfTenThousandCommandsIsAllAccountedForAndTheStylePlaysOn) {
    ArrangerRig rig;
    ASSERT_TRUE(rig.Prepare());
    remote::MidiCommandTable table;
    for (int n = 0; n < remote::CommandCount; ++n) table.Commands[static_cast<std::size_t>(n)] = {n % 9, 0, 30 + n, 100};
    rig.Remote().Commands().SetTable(table);
    rig.arranger.Start(240);
    platform::EventLoop& loop = rig.t.session->Loop();
    constexpr int Total = 10000;
    constexpr int Burst = 100;
    int fed = 0;
    std::size_t notesBefore = 0;
    const auto feed = loop.StartTimer(std::chrono::milliseconds(10), true, [&] {
        if (fed == 0) notesBefore = rig.t.midi->Sent(Mapper).size();
        if (fed >= Total) return;
        std::vector<std::uint8_t> burst;
        for (int i = 0; i < Burst; ++i, ++fed) burst.insert(burst.end(), {0xB0, static_cast<std::uint8_t>(12 + fed % 10), 127});
        rig.t.midi->Feed(SecondInputDevice, 0, burst);
    });
    remote::MidiCommands& commands = rig.Remote().Commands();
    const auto accounted = [&] {
        return commands.Executed() + commands.Refused() + rig.arranger.Second().DroppedCommands() +
               rig.t.session->MidiInput2()->LostEvents();
    };
    const auto poll = loop.StartTimer(std::chrono::milliseconds(10), true, [&] {
        if (fed >= Total && accounted() >= Total && commands.PendingHalves() == 0) loop.Quit(0);
    });
    const auto giveUp = loop.StartTimer(std::chrono::seconds(90), false, [&] { loop.Quit(0); });
    loop.Run();
    loop.StopTimer(feed);
    loop.StopTimer(poll);
    loop.StopTimer(giveUp);

    EXPECT_EQ(accounted(), static_cast<std::uint64_t>(Total));
    EXPECT_GT(commands.Executed(), 0u);
    EXPECT_EQ(commands.Refused(), 0u);
    EXPECT_EQ(commands.PendingHalves(), 0u);
    EXPECT_TRUE(rig.Playing());
    EXPECT_GT(rig.t.midi->Sent(Mapper).size(), notesBefore) << "the style played on";
    int delayedOn = 0;
    int delayedOff = 0;
    for (const auto& m : Messages(*rig.t.midi, CommandOutput)) {
        if (m[1] != 38) continue;  // command 8, "Note Delayed"
        if (m[0] == 0x90) ++delayedOn;
        if (m[0] == 0x80) ++delayedOff;
    }
    EXPECT_EQ(delayedOn, delayedOff) << "every delayed note-on got its note-off";
}

}  // namespace
}  // namespace chordella::testing
