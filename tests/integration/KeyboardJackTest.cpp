// The keyboard input on a real JACK server, fed raw events by another client: whatever a
// keyboard sends, the arranger goes on recognising chords, and nothing broken leaves it.
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
#include "midi/DriverMessages.h"
#include "midi/RtMidiBackend.h"
#include "support/ScriptedPrompter.h"
#include "LoopWait.h"
#include "support/JackServer.h"
#include "support/RawJackClient.h"
#include "support/StyleBuilder.h"
#include "support/TempFolder.h"

namespace chordella::testing {
namespace {

using Event = RawJackClient::Event;

constexpr int StyleNote = 60;    // the Basic part's note: C under C major, D under D minor
constexpr int MelodyNote = 84;   // above the chord zone: passes through

bool HasNoteOn(const std::vector<Event>& events, int note) {
    return std::any_of(events.begin(), events.end(), [&](const Event& e) {
        return e.size() == 3 && (e[0] & 0xF0) == 0x90 && e[1] == note && e[2] > 0;
    });
}

struct LiveRig {
    JackServer server;
    TempFolder home;
    std::unique_ptr<core::Session> session;
    app::AppState state;
    std::unique_ptr<app::LiveArranger> arranger;
    RawJackClient keyboard;  // plays into our keyboard input and listens to our output

    // False with `why` set when no JACK server can run here.
    bool Start(std::string& why) {
        if (!server.Start(why)) return false;
        core::SessionParts parts;
        parts.prompter = std::make_unique<chordella::testing::ScriptedPrompter>();
        parts.paths = platform::Paths::InFolder(home.Path());
        parts.midiBackend = std::make_unique<midi::RtMidiBackend>(midi::RtMidiBackend::Api::Jack);
        session = std::make_unique<core::Session>(std::move(parts));
        auto& ours = static_cast<midi::RtMidiBackend&>(session->MidiBackend());
        EXPECT_TRUE(RunUntil(session->Loop(), [&] { return ours.Usable(); })) << midi::LastDriverMessage();
        StyleBuilder b;
        b.Meter(4).Tempo(120);
        auto& basic = b.Part(data::StylePart::Basic).Measures(1);
        for (int at = 0; at < 96; at += 12) basic.Note(0, StyleNote, 100, at, 6);
        cli::ArrangerFlags flags;
        flags.style = home.Path() + "/Live.vxs";
        flags.in = "Chordella In";
        flags.out = "Chordella Out";
        EXPECT_TRUE(b.Write(flags.style));
        arranger = std::make_unique<app::LiveArranger>(*session, state);
        std::FILE* err = std::tmpfile();
        const bool prepared = cli::PrepareArranger(*session, state, flags, err);
        std::fclose(err);
        EXPECT_TRUE(prepared);
        EXPECT_TRUE(keyboard.Open());
        EXPECT_TRUE(RunUntil(session->Loop(), [&] { return keyboard.Connect(":Chordella In", ":Chordella Out"); }));
        // A connection carries events from some period on: a melody note until one came round.
        auto nextProbe = std::chrono::steady_clock::now();
        return RunUntil(session->Loop(), [&] {
            if (HasNoteOn(keyboard.Received(), MelodyNote)) return true;
            if (std::chrono::steady_clock::now() >= nextProbe) {
                keyboard.Send({0x90, MelodyNote, 100});
                keyboard.Send({0x80, MelodyNote, 0});
                nextProbe += std::chrono::milliseconds(50);
            }
            return false;
        });
    }

    ~LiveRig() {
        if (arranger) arranger->Stop();
    }
};

TEST(KeyboardOverJack, BrokenSystemExclusiveNeitherFreezesTheArrangerNorLeavesIt) {
    LiveRig rig;
    std::string why;
    if (!rig.Start(why)) {
        if (!why.empty()) GTEST_SKIP() << "skipped: " << why;
        FAIL() << "the keyboard's connection never carried a note";
    }
    platform::EventLoop& loop = rig.session->Loop();
    rig.arranger->Start(120);
    ASSERT_TRUE(RunUntil(loop, [&] { return HasNoteOn(rig.keyboard.Received(), StyleNote); })) << "the style plays";

    const Event whole = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
    for (const Event& event : std::vector<Event>{{0xF0, 0x01, 0x02}, {0xF7}, {0xF5, 0x1A, 0x61, 0xF0}, whole})
        rig.keyboard.Send(event);
    // D minor in the chord zone: the style's C becomes D.
    for (const int key : {50, 53, 57}) rig.keyboard.Send({0x90, static_cast<std::uint8_t>(key), 100});
    EXPECT_TRUE(RunUntil(loop, [&] { return HasNoteOn(rig.keyboard.Received(), StyleNote + 2); }))
        << "the chord after the broken messages was never recognised";
    ASSERT_TRUE(RunUntil(loop, [&] {
        const auto events = rig.keyboard.Received();
        return std::find(events.begin(), events.end(), whole) != events.end();
    })) << "a whole system-exclusive message still passes through";

    for (const Event& event : rig.keyboard.Received()) {
        if (event.empty() || event[0] != 0xF0) continue;
        EXPECT_EQ(event, whole) << "only the whole message left the arranger; this one has "
                                << event.size() << " bytes";
    }
}

}  // namespace
}  // namespace chordella::testing
