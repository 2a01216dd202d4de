// The session's MIDI ports and links as the other modules reach them, and the console's
// prompter.
#include "core/Session.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "app/AppState.h"
#include "app/Arranger.h"
#include "app/ConsolePrompter.h"
#include "app/SongPlayback.h"
#include "chords/ChordRecogniser.h"
#include "data/ArrangementLink.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Transport.h"
#include "engine/TransportArrangement.h"
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
    core::SessionParts parts;
    auto scripted = std::make_unique<chordella::testing::ScriptedPrompter>();
    const chordella::testing::ScriptedPrompter* prompter = scripted.get();
    parts.prompter = std::move(scripted);
    core::Session session(std::move(parts));
    EXPECT_EQ(session.MidiInput1(), nullptr);
    EXPECT_EQ(session.MidiInput2(), nullptr);
    ASSERT_NE(session.MidiOutput1(), nullptr);
    EXPECT_FALSE(session.MidiOutput1()->Open()) << "no devices at all";
    EXPECT_TRUE(prompter->Shown().empty());
}

// The session wires nothing itself: a call through a link nobody wired names the link, the
// arranger wires the modules it builds, and each module unwires itself as it goes.
TEST(SessionLinks, NothingIsWiredUntilTheArrangerBuildsTheModulesAndEachUnwiresItselfAsItGoes) {
    core::SessionParts parts;
    parts.prompter = std::make_unique<chordella::testing::ScriptedPrompter>();
    core::Session session(std::move(parts));
    try {
        session.Engine();
        ADD_FAILURE() << "an unwired engine link answered";
    } catch (const core::UnwiredLink& unwired) {
        EXPECT_STREQ(unwired.what(), "the accompaniment engine is not wired to this session");
    }
    EXPECT_THROW(session.Chords(), core::UnwiredLink);
    EXPECT_THROW(session.Transport(), core::UnwiredLink);
    EXPECT_THROW(session.ArrangementLink(), core::UnwiredLink);
    EXPECT_EQ(session.Melody(), nullptr);
    EXPECT_EQ(session.MidiCommands(), nullptr);

    AppState state;
    {
        Arranger arranger(session, state);
        EXPECT_EQ(&session.Engine(), static_cast<core::EngineLink*>(&arranger.Engine()));
        EXPECT_EQ(&session.Transport(), static_cast<core::TransportLink*>(&arranger.Transport()));
        EXPECT_EQ(&session.Chords(), static_cast<core::ChordLink*>(&arranger.Recogniser()));
        EXPECT_EQ(&session.ArrangementLink(), static_cast<data::ArrangementLink*>(&arranger.SongHost()));
        EXPECT_EQ(session.Melody(), &arranger.Songs().melody);
        EXPECT_TRUE(arranger.Transport().ModulesWired());

        data::OfflineSongHost other;
        session.Unwire(static_cast<const data::ArrangementLink*>(&other));
        EXPECT_EQ(&session.ArrangementLink(), static_cast<data::ArrangementLink*>(&arranger.SongHost()))
            << "unwiring another host leaves the wired one";
    }
    EXPECT_EQ(session.Melody(), nullptr);
    EXPECT_THROW(session.Engine(), core::UnwiredLink);
    EXPECT_THROW(session.Chords(), core::UnwiredLink);
    EXPECT_THROW(session.Transport(), core::UnwiredLink);
    EXPECT_THROW(session.ArrangementLink(), core::UnwiredLink);
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
