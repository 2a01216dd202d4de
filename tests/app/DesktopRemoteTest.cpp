// The remote control behind the desktop windows: the requests of "MIDI Commands" and
// "MIDI Controls" on the real core, its second input and command output on the in-memory
// devices, and the window functions program control calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "desktop/DesktopPorts.h"
#include "desktop/DesktopRemote.h"
#include "app/LiveArranger.h"
#include "app/SongEditing.h"
#include "core/Session.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "platform/Files.h"
#include "remote/CommandFile.h"
#include "remote/RemoteBindings.h"
#include "remote/RemoteControl.h"
#include "remote/RemoteFunctions.h"
#include "support/DesktopRig.h"

namespace chordella::app {

using namespace chordella::desktop;

namespace {

using A = RemoteAction;
constexpr int SecondInputDevice = 1;  // "Memory In 2"
constexpr int CommandOutput = 2;      // "Memory Out 3"

struct RemoteDeskRig : testing::DesktopRig {
    RemoteDeskRig() : desk(*t.session, t.state.options, Remote()) {
        midi::TMidiInput* second = t.session->MidiInput2();
        second->SetDeviceID(SecondInputDevice);
        second->Open();
        second->Start();
    }
    remote::RemoteControl& Remote() { return core.Arranger().Remote(); }
    RemoteView Do(RemoteRequest request) { return desk.Handle(request); }
    RemoteView Do(A action, int function = 0) {
        RemoteRequest request{action};
        request.Function = function;
        request.Index = function;
        return desk.Handle(request);
    }
    RemoteView Port(const std::string& name) {
        RemoteRequest request{A::SetPort};
        request.Text = name;
        return desk.Handle(request);
    }
    void Second(std::vector<std::uint8_t> bytes) {
        ASSERT_TRUE(t.midi->Feed(SecondInputDevice, 0, bytes));
        t.session->Loop().RunPending();
    }
    std::size_t CommandMessages() { return t.midi->Sent(CommandOutput).size(); }

    DesktopRemote desk;
};

const RemoteBindingLine& LineOf(const RemoteView& view, int function) {
    return *std::find_if(view.Bindings.begin(), view.Bindings.end(),
                         [function](const RemoteBindingLine& line) { return line.Function == function; });
}

TEST(RemoteWindows, SetValuesStoresTheTableAndWithAModifierSwitchesARemoteSwitch) {
    RemoteDeskRig rig;
    RemoteView view = rig.Port("Memory Out 3");
    ASSERT_EQ(view.Ports.front(), NoCommandPort);
    ASSERT_EQ(view.Ports[static_cast<std::size_t>(view.Port)], "Memory Out 3");

    RemoteRequest set{A::SetValues};
    set.Table.Commands[0] = {static_cast<int>(remote::CommandType::CcMomentary), 1, 80, 127};
    EXPECT_EQ(rig.Do(set).Message, "Values are stored !");
    EXPECT_EQ(rig.Remote().Commands().Table(), set.Table);
    EXPECT_EQ(rig.t.state.options.MidiCommandTable, remote::TableText(set.Table)) << "kept for the settings";

    RemoteRequest ctrl{A::SetValues};
    ctrl.Ctrl = true;
    ctrl.Table = remote::MidiCommandTable{};  // the edited table is not taken with a modifier
    view = rig.Do(ctrl);
    EXPECT_EQ(view.Message, "Program remote control DOWN/RETURN is activated !");
    EXPECT_TRUE(view.RemoteDownReturn);
    EXPECT_EQ(rig.Remote().Commands().Table(), set.Table);
    rig.Do(A::SendCommand, 0);
    EXPECT_EQ(rig.CommandMessages(), 0u) << "DOWN/RETURN holds the commands back";
    EXPECT_EQ(rig.Do(ctrl).Message, "Program remote control DOWN/RETURN is deactivated !");
    rig.Do(A::SendCommand, 0);
    EXPECT_EQ(rig.CommandMessages(), 2u) << "the momentary pair";

    RemoteRequest shift{A::SetValues};
    shift.Shift = true;
    EXPECT_EQ(rig.Do(shift).Message, "Program remote control for PAN is activated !");
    RemoteRequest alt{A::SetValues};
    alt.Alt = true;
    view = rig.Do(alt);
    EXPECT_EQ(view.Message, "Program remote control for \"goto FIRST PRESET\" is activated !");
    EXPECT_TRUE(view.RemotePan && view.RemoteFirstPreset);

    // "<None>" closes the port: the commands go nowhere.
    EXPECT_EQ(rig.t.state.options.MidiCommandPort, "Memory Out 3");
    view = rig.Port(NoCommandPort);
    EXPECT_EQ(view.Port, 0);
    EXPECT_EQ(rig.t.state.options.MidiCommandPort, "");
    rig.Do(A::SendCommand, 0);
    EXPECT_EQ(rig.CommandMessages(), 2u);

    // The port chosen is kept with the settings and opened again at the next start.
    core::Options stored = rig.t.state.options;
    stored.MidiCommandPort = "Memory Out 3";
    OpenConfiguredPorts(*rig.t.session, rig.t.state.options, stored, true);
    EXPECT_TRUE(rig.t.session->MidiOutput3()->IsOpen());
    stored.MidiCommandPort = "Not There";
    OpenConfiguredPorts(*rig.t.session, rig.t.state.options, stored, true);
    EXPECT_FALSE(rig.t.session->MidiOutput3()->IsOpen());
}

TEST(RemoteWindows, CommandFilesAreSavedAndLoadedAndAFailedLoadKeepsTheFileInUse) {
    RemoteDeskRig rig;
    RemoteRequest set{A::SetValues};
    set.Table.Commands[4] = {static_cast<int>(remote::CommandType::ProgramChange), 9, 5, 130};
    rig.Do(set);
    const std::string path = rig.t.home.Path() + "/Live.ccs";
    RemoteRequest save{A::SaveFile};
    save.Text = path;
    RemoteView view = rig.Do(save);
    EXPECT_EQ(view.Message, "");
    EXPECT_EQ(view.Caption, "MIDI Commands - Live.ccs");

    rig.Do(RemoteRequest{A::SetValues});  // an empty table
    RemoteRequest load{A::LoadFile};
    load.Text = path;
    EXPECT_EQ(rig.Do(load).Message, "");
    EXPECT_EQ(rig.Remote().Commands().Table(), set.Table);

    // A damaged file leaves the table (tests/remote CommandFileTest); the window keeps its file.
    load.Text = rig.t.home.Path() + "/Missing.ccs";
    view = rig.Do(load);
    EXPECT_NE(view.Message.find("Missing.ccs"), std::string::npos) << view.Message;
    EXPECT_EQ(view.Caption, "MIDI Commands - Live.ccs") << "the file in use stays";
}

TEST(RemoteWindows, LearnBindsTheNextMessageOfTheSecondInputAndForgetRemovesTheBinding) {
    RemoteDeskRig rig;
    RemoteView view = rig.Do(A::Learn, remote::function::FillIn);
    EXPECT_EQ(view.Learning, remote::function::FillIn);
    EXPECT_EQ(LineOf(view, remote::function::FillIn).Messages, "");

    rig.Second({0xB3, 85, 127, 0xB3, 85, 0});  // a pad on channel 4
    view = rig.Do(A::Read);
    EXPECT_EQ(view.Learning, -1);
    const std::string bound = LineOf(view, remote::function::FillIn).Messages;
    EXPECT_NE(bound.find("85"), std::string::npos) << bound;
    std::string text;
    std::string error;
    ASSERT_TRUE(platform::ReadTextFile(rig.Remote().BindingsPath(), 64 * 1024, text, error)) << error;
    EXPECT_NE(text.find("85"), std::string::npos) << "saved at once";

    // The foot-switch default on the sustain pedal goes with Start/Stop's other bindings.
    EXPECT_NE(LineOf(view, remote::function::StartStop).Messages, "");
    view = rig.Do(A::Forget, remote::function::StartStop);
    EXPECT_EQ(LineOf(view, remote::function::StartStop).Messages, "");
    ASSERT_TRUE(platform::ReadTextFile(rig.Remote().BindingsPath(), 64 * 1024, text, error)) << error;
    const std::optional<remote::RemoteBindings> saved = remote::RemoteBindings::Parse(text);
    ASSERT_TRUE(saved);
    for (const remote::Binding& binding : saved->List()) EXPECT_NE(binding.Function, remote::function::StartStop);

    // A learn that is cancelled takes nothing.
    rig.Do(A::Learn, remote::function::Ending);
    rig.Do(A::CancelLearn);
    rig.Second({0xB3, 86, 127});
    EXPECT_EQ(LineOf(rig.Do(A::Read), remote::function::Ending).Messages, "");
}

// The built-in function set: key 0 Start/Stop, key 4 PAD, key 5 program changes, key 6 ad lib,
// key 10 random instruments.
TEST(RemoteWindows, IndicatorsFlipWithTheirKeyAndThoseOfASwitchShowTheSwitch) {
    RemoteDeskRig rig;
    core::Options& options = rig.t.state.options;
    EXPECT_EQ(rig.Remote().SwitchIndicator(remote::RemoteSwitch::Pad), 4);
    EXPECT_EQ(rig.Remote().SwitchIndicator(remote::RemoteSwitch::ProgramChanges), 5);
    EXPECT_EQ(rig.Remote().SwitchIndicator(remote::RemoteSwitch::KeyAdjustment), -1);
    RemoteView view = rig.Do(A::Read);
    EXPECT_FALSE(view.Indicators[0]);
    EXPECT_TRUE(view.Indicators[5]) << "program changes are allowed";
    EXPECT_EQ(view.Indicators[4], options.InstrumentPad);

    rig.Second({0x90, 4, 100, 0x90, 4, 0});  // key 4: PAD on/off
    view = rig.Do(A::Read);
    EXPECT_EQ(view.Indicators[4], options.InstrumentPad);
    rig.Second({0x90, 4, 100, 0x90, 4, 0});
    EXPECT_EQ(rig.Do(A::Read).Indicators[4], options.InstrumentPad);

    rig.Remote().ProgramChangesKey(false);  // numeric-pad −
    EXPECT_TRUE(options.IgnoreMidiCommands) << "program-change commands of songs are ignored";
    EXPECT_FALSE(rig.Do(A::Read).Indicators[5]);

    rig.Second({0x90, 1, 100, 0x90, 1, 0});  // key 1: New song (a window function)
    EXPECT_TRUE(rig.Do(A::Read).Indicators[1]);
    rig.Second({0x90, 1, 100, 0x90, 1, 0});
    EXPECT_FALSE(rig.Do(A::Read).Indicators[1]);
    rig.Second({0x90, 15, 100, 0x90, 15, 0});  // command 3 (no port: refused, the key still shows)
    EXPECT_FALSE(rig.Do(A::Read).Indicators[15]);

    // The digits 2 and 1 step the editor's command key value within 0 … 9.
    options.CommandKey = 8;
    for (int i = 0; i < 3; ++i) rig.Remote().Digit(2);
    EXPECT_EQ(options.CommandKey, remote::HighestCommandKey);
    for (int i = 0; i < 12; ++i) rig.Remote().Digit(1);
    EXPECT_EQ(options.CommandKey, 0);
}

TEST(RemoteWindows, ProgramControlRunsTheWindowFunctionsOfTheDesktop) {
    RemoteDeskRig rig;
    app::AppState& app = rig.t.state;
    const bool melody = app.melody.PlaybackOn;
    rig.Remote().ProgramControl(remote::function::Melody);
    EXPECT_NE(app.melody.PlaybackOn, melody);

    rig.Remote().ProgramControl(remote::function::NewChords);
    EXPECT_FALSE(app.arrangement.Chords.IsEmpty()) << "the generator made a song";
    rig.core.Stop();

    // The editor's automatic program changes go into that song.
    SongEditRequest remove;
    remove.Edit = SongEdit::RemoveProgramChanges;
    SongEditing(*rig.t.session, app.arrangement, app.options, app.clock).Apply(remove);
    const auto programChanges = [&app] {
        int count = 0;
        for (int at = 4; at < app.arrangement.Chords.ChordMemoryLength; at += 4)
            if (app.arrangement.Chords.RecordAt(at).CommandCode == 223) ++count;
        return count;
    };
    ASSERT_EQ(programChanges(), 0);
    rig.Remote().ProgramControl(remote::function::NewProgramChangeCodes);
    EXPECT_GT(programChanges(), 0);
}

}  // namespace
}  // namespace chordella::app
