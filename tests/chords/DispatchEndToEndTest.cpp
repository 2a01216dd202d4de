// The keyboard's whole road on a running arranger: bytes fed to the in-memory keyboard go
// through the device layer, the keyboard input, chord recognition and the engine on the
// virtual clock, and come out on the in-memory output.

#include <gtest/gtest.h>

#include <vector>

#include "app/LiveArranger.h"
#include "core/Session.h"
#include "core/StyleStore.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
#include "support/StyleBuilder.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

constexpr int StyleChannel = 0;
constexpr int VoiceChannel = 2;
constexpr int FillNote = 62;

struct NoteSeen {
    std::int64_t Tick;
    int Channel;
    int Note;
};

struct KeyboardToAccompaniment : ::testing::Test {
    KeyboardToAccompaniment() {
        core::Session& s = *t.session;
        t.state.options.CompLimit = false;
        t.state.options.SoloOnChannel1 = false;
        t.state.options.AdjustChordOctave = false;
        t.state.engine.VoiceChannel = VoiceChannel;
        s.MidiInput1()->Open();
        s.MidiInput1()->Start();
        s.MidiOutput1()->Open();
        s.Midi().SetCurrentOutput(s.MidiOutput1());

        StyleBuilder b;
        b.Meter(4).Tempo(120);
        auto& basic = b.Part(data::StylePart::Basic).Measures(1);
        for (int at = 0; at < 96; at += 12) basic.Note(StyleChannel, 60, 100, at, 6);
        auto& fill = b.Part(data::StylePart::FillInBasic).Measures(1);
        for (int at = 0; at < 96; at += 12) fill.Note(StyleChannel, FillNote, 100, at, 6);
        const std::string path = t.home.Path() + "/Live.vxs";
        loaded = b.Write(path) && data::StyleStore(s).Load(path) == data::StyleLoadResult::Loaded;
        arranger.Clock().StartVirtual(120);
        arranger.Transport().StartStyle();
        started = s.Style().player.StyleActive == 1 && s.Style().player.CurrentSection == 1;
    }

    void Keys(std::vector<std::uint8_t> bytes) {
        ASSERT_TRUE(t.midi->Feed(0, 0, bytes));
        t.session->Loop().RunPending();
    }
    // Runs ticks one by one and collects the note-ons that reached the output.
    std::vector<NoteSeen> Run(int ticks) {
        std::vector<NoteSeen> seen;
        for (int i = 0; i < ticks; ++i) {
            t.midi->ClearSent(0);
            arranger.Clock().RunVirtualTicks(1);
            for (const midi::SentMessage& m : t.midi->Sent(0)) {
                if ((m.Packed & 0xF0) == 0x90 && ((m.Packed >> 16) & 0x7F) > 0)
                    seen.push_back({t.state.clock.TickCount, static_cast<int>(m.Packed & 0x0F),
                                    static_cast<int>((m.Packed >> 8) & 0x7F)});
            }
        }
        return seen;
    }

    void SetUp() override {
        ASSERT_TRUE(loaded);
        ASSERT_TRUE(started);
    }

    TestSession t;
    app::LiveArranger arranger{*t.session, t.state};
    bool loaded = false;
    bool started = false;
};

TEST_F(KeyboardToAccompaniment, AChordHeldInTheChordZoneTransposesTheStyleFromTheNextGridUnit) {
    Run(30);  // into the second beat
    Keys({0x90, 45, 100, 0x90, 48, 100, 0x90, 52, 100});  // A C E
    EXPECT_EQ(t.state.engine.PendingType, 2) << "A minor waits for the grid";
    const std::int64_t playedAt = t.state.clock.TickCount;

    const auto notes = Run(96);
    std::int64_t firstMinor = -1;
    for (const NoteSeen& n : notes) {
        if (n.Channel != StyleChannel) continue;
        if (n.Note % 12 == 9 && firstMinor < 0) firstMinor = n.Tick;
        if (firstMinor < 0) {
            EXPECT_EQ(n.Note, 60) << "nothing moves before the grid unit, tick " << n.Tick;
        } else {
            EXPECT_EQ(n.Note % 12, 9) << "after it every C is an A, tick " << n.Tick;
        }
    }
    ASSERT_GT(firstMinor, playedAt);
    EXPECT_LE(firstMinor - playedAt, 24) << "the chord took effect within one grid unit (a beat)";

    Keys({0x80, 45, 64, 0x80, 48, 64, 0x80, 52, 64});
    Keys({0x90, 48, 100, 0x90, 52, 100, 0x90, 55, 100});  // C E G
    const auto back = Run(48);
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(back.back().Note, 60) << "C major: the style's notes keep their pitch";
    EXPECT_EQ(t.state.chords.CurrentType, 1);
}

TEST_F(KeyboardToAccompaniment, MelodyNotesSoundOnTheVoiceChannelBesideTheStyle) {
    t.midi->ClearSent(0);
    Keys({0x95, 72, 90});  // a keyboard sending on channel 6
    const auto sent = t.midi->Sent(0);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Packed, static_cast<std::uint32_t>(0x90 | VoiceChannel) | 72u << 8 | 90u << 16);
    Keys({0x85, 72, 64});
    ASSERT_EQ(t.midi->Sent(0).size(), 2u);
    EXPECT_EQ(t.midi->Sent(0)[1].Packed & 0xFFFF, static_cast<std::uint32_t>(0x80 | VoiceChannel) | 72u << 8);
}

TEST_F(KeyboardToAccompaniment, AControlKeyRequestsAFillAtTheNextGridUnit) {
    Run(30);  // into the second beat
    const int fillKey = t.state.config.Keys.FillIn;
    Keys({0x90, static_cast<std::uint8_t>(fillKey), 100});
    EXPECT_EQ(t.state.engine.PendingCommandKey, fillKey) << "the key waits for the grid";
    const std::int64_t pressedAt = t.state.clock.TickCount;

    std::int64_t firstFill = -1;
    for (const NoteSeen& n : Run(48)) {
        if (n.Channel != StyleChannel) continue;
        if (n.Note == FillNote && firstFill < 0) firstFill = n.Tick;
        if (firstFill < 0) {
            EXPECT_EQ(n.Note, 60) << "Basic goes on until the grid unit, tick " << n.Tick;
        }
    }
    ASSERT_GT(firstFill, pressedAt) << "the fill was played";
    EXPECT_LE(firstFill - pressedAt, 24);
    EXPECT_EQ(t.session->Style().player.CurrentSection, 4) << "Fill in Basic";
}

}  // namespace
}  // namespace chordella::testing
