// The remote control on a real JACK server: another program presses a key on our second
// input, and the accompaniment on our output changes section within a beat.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "app/AppState.h"
#include "app/LiveArranger.h"
#include "cli/ArrangerCommand.h"
#include "core/Session.h"
#include "data/StyleModel.h"
#include "midi/DriverMessages.h"
#include "midi/MidiErrors.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/RtMidiBackend.h"
#include "support/ScriptedPrompter.h"
#include "remote/RemoteControl.h"
#include "LoopWait.h"
#include "support/JackServer.h"
#include "support/StyleBuilder.h"
#include "support/TempFolder.h"

namespace chordella::testing {
namespace {

constexpr int BasicNote = 60;
constexpr int FillNote = 72;
constexpr std::uint8_t ProbeStatus = 0xB0;  // channel 1: the pad channel may be filtered out
constexpr std::uint8_t ProbeController = 0x77;
constexpr std::uint8_t FillInKey = 11;  // the built-in function set's key 11: "Fill in"

// The id of the port of `backend` whose name ends in `suffix` (inputs or outputs), -1 for none.
int FindPortEndingIn(midi::MidiBackend& backend, bool input, const std::string& suffix) {
    const int count = input ? backend.InputCount() : backend.OutputCount();
    for (int id = 0; id < count; ++id) {
        midi::DeviceCaps caps;
        const int code = input ? backend.InputCaps(id, caps) : backend.OutputCaps(id, caps);
        const std::string& name = caps.ProductName;
        if (code == 0 && name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return id;
    }
    return -1;
}

TEST(RemoteOverJack, ARemoteKeyOnTheSecondInputSwitchesTheSectionWithinOneBeat) {
    JackServer server;
    std::string why;
    if (!server.Start(why)) GTEST_SKIP() << "skipped: " << why;

    TempFolder home;
    core::SessionParts parts;
    parts.prompter = std::make_unique<chordella::testing::ScriptedPrompter>();
    parts.paths = platform::Paths::InFolder(home.Path());
    parts.midiBackend = std::make_unique<midi::RtMidiBackend>(midi::RtMidiBackend::Api::Jack);
    core::Session session(std::move(parts));
    app::AppState state;
    platform::EventLoop& loop = session.Loop();
    auto& ours = static_cast<midi::RtMidiBackend&>(session.MidiBackend());
    ASSERT_TRUE(RunUntil(loop, [&] { return ours.Usable(); })) << midi::LastDriverMessage();

    // Basic plays the eighths on note 60, its fill-in on note 72.
    StyleBuilder b;
    b.Meter(4).Tempo(100);
    auto& basic = b.Part(data::StylePart::Basic).Measures(1);
    auto& fill = b.Part(data::StylePart::FillInBasic).Measures(1);
    for (int at = 0; at < 96; at += 12) {
        basic.Note(0, BasicNote, 100, at, 6);
        fill.Note(0, FillNote, 100, at, 6);
    }
    cli::ArrangerFlags flags;
    flags.style = home.Path() + "/Jack.vxs";
    ASSERT_TRUE(b.Write(flags.style));
    flags.in = "Chordella In";
    flags.out = "Chordella Out";
    flags.secondIn = "Chordella In 2";
    app::LiveArranger arranger(session, state);
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(cli::PrepareArranger(session, state, flags, err));
    std::fclose(err);

    // Another program: it sends to our second input and listens to our output.
    midi::RtMidiBackend other(midi::RtMidiBackend::Api::Jack, "Other");
    midi::ControllerTable table;
    midi::CallbackSettings settings{table};
    midi::TMidiOutput pedalboard(other, loop);
    midi::TMidiInput listener(other, loop, settings);
    int target = -1;
    int source = -1;
    ASSERT_TRUE(RunUntil(loop, [&] {
        target = FindPortEndingIn(other, false, ":Chordella In 2");
        source = FindPortEndingIn(other, true, ":Chordella Out");
        return target >= 0 && source >= 0;
    }));
    pedalboard.SetDeviceID(target);
    ASSERT_TRUE(pedalboard.Open()) << midi::MidiErrorText(other, pedalboard.Error());
    listener.SetDeviceID(source);
    listener.Open();
    ASSERT_EQ(listener.Error(), 0) << midi::MidiErrorText(other, listener.Error());
    listener.Start();
    bool connected = false;
    std::vector<int> notes;  // the notes our output played, in order
    remote::RemoteControl& remote = arranger.Remote();
    std::size_t notesWhenRun = 0;
    std::uint64_t functionsBefore = 0;
    listener.OnMidiInput = [&](midi::TMidiInput& in) {
        while (auto event = in.GetMidiEvent()) {
            if (event->MidiMessage == ProbeStatus && event->Data1 == ProbeController) connected = true;
            if ((event->MidiMessage & 0xF0) == 0x90 && event->Data2 > 0) notes.push_back(event->Data1);
        }
    };
    // Both connections carry messages from some period on: probe through the second input
    // (which passes other messages on to our output) until one came round.
    auto nextProbe = std::chrono::steady_clock::now();
    ASSERT_TRUE(RunUntil(loop, [&] {
        if (connected) return true;
        if (std::chrono::steady_clock::now() >= nextProbe) {
            pedalboard.PutShort(ProbeStatus, ProbeController, 0);
            nextProbe += std::chrono::milliseconds(20);
        }
        return false;
    }));

    arranger.Start(100);
    ASSERT_TRUE(RunUntil(loop, [&] { return notes.size() >= 4; })) << "the style plays on our output";
    functionsBefore = remote.FunctionsRun();
    pedalboard.PutShort(0x90, FillInKey, 100);
    pedalboard.PutShort(0x90, FillInKey, 0);
    ASSERT_TRUE(RunUntil(loop, [&] {
        if (remote.FunctionsRun() > functionsBefore && notesWhenRun == 0) notesWhenRun = notes.size();
        return notesWhenRun > 0 && std::find(notes.begin() + static_cast<long>(notesWhenRun), notes.end(), FillNote) != notes.end();
    })) << "the fill-in never played";
    // Counted in the style's own eighths, not in wall time: once the key was taken, at most the
    // two eighths of the beat under way play before the fill.
    const auto fillAt = std::find(notes.begin() + static_cast<long>(notesWhenRun), notes.end(), FillNote);
    const long basicAfter = std::count(notes.begin() + static_cast<long>(notesWhenRun), fillAt, BasicNote);
    RecordProperty("BasicEighthsBeforeTheFill", static_cast<int>(basicAfter));
    EXPECT_LE(basicAfter, 2) << "basic eighths after the key: " << basicAfter;
    arranger.Stop();
    listener.Close();
    pedalboard.Close();
}

}  // namespace
}  // namespace chordella::testing
