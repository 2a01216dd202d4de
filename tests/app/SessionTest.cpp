// The session's MIDI ports as the other modules reach them, and the console's prompter.
#include "core/Session.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "app/ConsolePrompter.h"
#include "support/TestSession.h"

namespace chordella::app {
namespace {

TEST(SessionPorts, InputReachesTheControlThreadWithRepeatsSuppressedFromTheStart) {
    testing::TestSession t;
    core::Session& session = *t.session;
    midi::TMidiInput& input = *session.MidiInput1();
    std::vector<std::uint8_t> received;
    input.OnMidiInput = [&](midi::TMidiInput& in) {
        while (auto event = in.GetMidiEvent()) received.push_back(event->Data2);
    };
    input.Open();
    input.Start();
    t.midi->Feed(0, 0, {0xB0, 7, 100, 0xB0, 7, 100, 0xB0, 7, 90});
    session.Loop().RunPending();
    EXPECT_EQ(received, (std::vector<std::uint8_t>{100, 90}));
    EXPECT_EQ(session.Controllers().Value(0, 7), 90);
}

TEST(SessionPorts, WithoutInputDevicesTheInputSlotsStayEmpty) {
    chordella::testing::ScriptedPrompter* prompter = nullptr;
    core::SessionParts parts;
    auto scripted = std::make_unique<chordella::testing::ScriptedPrompter>();
    prompter = scripted.get();
    parts.prompter = std::move(scripted);
    core::Session session(std::move(parts));
    EXPECT_EQ(session.MidiInput1(), nullptr);
    EXPECT_EQ(session.MidiInput2(), nullptr);
    ASSERT_NE(session.MidiOutput1(), nullptr);
    EXPECT_FALSE(session.MidiOutput1()->Open()) << "no devices at all";
    EXPECT_TRUE(prompter->Shown().empty());
}

TEST(ConsolePrompter, AnswersYesOnlyWhenToldAndRefusesDialogs) {
    std::FILE* sink = std::tmpfile();
    ConsolePrompter cautious(false, sink), willing(true, sink);
    EXPECT_FALSE(cautious.Confirm("Overwrite ?"));
    EXPECT_TRUE(willing.Confirm("Overwrite ?"));
    EXPECT_FALSE(cautious.OpenFile("Open style", "Styles|*.vxs", ""));
    EXPECT_EQ(willing.Input("Tempo", "New tempo", "120"), "120");
    std::fclose(sink);
}

}  // namespace
}  // namespace chordella::app
