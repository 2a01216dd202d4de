// The keyboard's whole road on a running arranger: bytes fed to the in-memory keyboard go
// through the device layer, the keyboard input, chord recognition and the engine on the
// virtual clock, and come out on the in-memory output.

#include <gtest/gtest.h>

#include <vector>

#include "app/LiveArranger.h"
#include "core/Session.h"
#include "core/StyleStore.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
#include "support/StyleBuilder.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

// Only the style plays on channel 1, a C on every eighth.
TEST(KeyboardToAccompaniment, AChordHeldInTheChordZoneTransposesTheStyleFromTheNextGridUnit) {
    TestSession t;
    app::LiveArranger arranger{*t.session, t.state};
    core::Session& s = *t.session;
    t.state.options.CompLimit = false;
    t.state.options.SoloOnChannel1 = false;
    t.state.options.AdjustChordOctave = false;
    s.MidiInput1()->Open();
    s.MidiInput1()->Start();
    s.MidiOutput1()->Open();
    s.Midi().SetCurrentOutput(s.MidiOutput1());
    StyleBuilder b;
    auto& basic = b.Meter(4).Tempo(120).Part(data::StylePart::Basic).Measures(1);
    for (int at = 0; at < 96; at += 12) basic.Note(0, 60, 100, at, 6);
    const std::string path = t.home.Path() + "/Live.vxs";
    ASSERT_TRUE(b.Write(path) && data::StyleStore(s).Load(path) == data::StyleLoadResult::Loaded);
    arranger.Clock().StartVirtual(120);
    arranger.Transport().StartStyle();
    ASSERT_EQ(s.Style().player.StyleActive, 1);

    const auto keys = [&](std::vector<std::uint8_t> bytes) {
        ASSERT_TRUE(t.midi->Feed(0, 0, bytes));
        s.Loop().RunPending();
    };
    // Runs ticks one by one; the ticks and notes of the style's note-ons that reached the output.
    const auto run = [&](int ticks) {
        std::vector<std::pair<std::int64_t, int>> seen;
        for (int i = 0; i < ticks; ++i) {
            t.midi->ClearSent(0);
            arranger.Clock().RunVirtualTicks(1);
            for (const midi::SentMessage& m : t.midi->Sent(0))
                if ((m.Packed & 0xFF) == 0x90 && ((m.Packed >> 16) & 0x7F) > 0)
                    seen.emplace_back(t.state.clock.TickCount, static_cast<int>((m.Packed >> 8) & 0x7F));
        }
        return seen;
    };

    run(30);  // into the second beat
    keys({0x90, 45, 100, 0x90, 48, 100, 0x90, 52, 100});  // A C E
    EXPECT_EQ(t.state.engine.PendingType, 2) << "A minor waits for the grid";
    const std::int64_t playedAt = t.state.clock.TickCount;
    std::int64_t firstMinor = -1;
    for (const auto& [tick, note] : run(96)) {
        if (note % 12 == 9 && firstMinor < 0) firstMinor = tick;
        if (firstMinor < 0) {
            EXPECT_EQ(note, 60) << "nothing moves before the grid unit, tick " << tick;
        } else {
            EXPECT_EQ(note % 12, 9) << "after it every C is an A, tick " << tick;
        }
    }
    ASSERT_GT(firstMinor, playedAt);
    EXPECT_LE(firstMinor - playedAt, 24) << "the chord took effect within one grid unit (a beat)";

    keys({0x80, 45, 64, 0x80, 48, 64, 0x80, 52, 64});
    keys({0x90, 48, 100, 0x90, 52, 100, 0x90, 55, 100});  // C E G
    const auto back = run(48);
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(back.back().second, 60) << "C major: the style's notes keep their pitch";
    EXPECT_EQ(t.state.chords.CurrentType, 1);
}

}  // namespace
}  // namespace chordella::testing
