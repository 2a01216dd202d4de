// An input whose ring overflowed while the control thread stalled (the keyboard input or
// the second input): the releases that were lost must not leave chord-zone keys held or
// notes sounding, and the loss is counted and shown once.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/LiveArranger.h"
#include "core/Session.h"
#include "app/SnapshotView.h"
#include "chords/KeyboardInput.h"
#include "remote/RemoteControl.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

constexpr std::uint8_t VoiceChannel = 0;
constexpr std::uint8_t MelodyKey = 72;

struct StalledKeyboard {
    StalledKeyboard() : t(1, MakeView()) {
        core::Session& s = *t.session;
        t.state.engine.VoiceChannel = VoiceChannel;
        s.MidiInput1()->Open();
        s.MidiInput1()->Start();
        s.MidiOutput1()->Open();
        s.Midi().SetCurrentOutput(s.MidiOutput1());
        s.SetAccompanimentOutput(s.MidiOutput1());
    }

    std::unique_ptr<core::View> MakeView() {
        auto made = std::make_unique<app::SnapshotView>();
        view = made.get();
        return made;
    }
    // The driver thread delivers while the control thread does not run (the test thread
    // plays both, so not running the loop is the stall).
    void Deliver(std::vector<std::uint8_t> bytes) { ASSERT_TRUE(t.midi->Feed(0, 0, bytes)); }
    void DeliverSecond(std::vector<std::uint8_t> bytes) { ASSERT_TRUE(t.midi->Feed(1, 0, bytes)); }
    void OpenSecondInput() {
        midi::TMidiInput& second = *t.session->MidiInput2();
        second.SetDeviceID(1);
        second.Open();
        ASSERT_EQ(second.Error(), 0);
        second.Start();
    }
    void RunControlThread() { t.session->Loop().RunPending(); }
    midi::TMidiInput& Input() { return *t.session->MidiInput1(); }
    // The next notes form the next chord (D F A: D minor, not a muddle with lost keys), and
    // a loss already shown is not shown again.
    void ExpectAFreshChordAndTheLossShownOnce() {
        view->ShowStatus("later status");
        Deliver({0x90, 50, 100, 0x90, 53, 100, 0x90, 57, 100});
        RunControlThread();
        EXPECT_EQ(t.state.chords.CurrentRoot % 12, 2);
        EXPECT_EQ(t.state.chords.CurrentType, 2);
        EXPECT_STREQ(view->Shown().Status.c_str(), "later status") << "the same loss is shown only once";
    }
    bool Released(int key) {
        for (const midi::SentMessage& m : t.midi->Sent(0)) {
            const bool release = ((m.Packed & 0xF0) == 0x80 || ((m.Packed >> 16) & 0x7F) == 0) &&
                                 (m.Packed & 0xE0) == 0x80 && static_cast<int>((m.Packed >> 8) & 0x7F) == key;
            if (release) return true;
        }
        return false;
    }

    app::SnapshotView* view = nullptr;
    TestSession t;
    app::LiveArranger arranger{*t.session, t.state};
};

TEST(InputOverflow, LostReleasesLeaveNoChordKeyHeldNorMelodyNoteSoundingAndTheLossIsShownOnce) {
    StalledKeyboard k;
    const int capacity = k.Input().Capacity();
    k.Deliver({0x90, 48, 100, 0x90, 52, 100, 0x90, 55, 100});  // C E G in the chord zone
    k.Deliver({0x90, MelodyKey, 90});
    // Modulation fills the ring up to the last place; then the releases find it full.
    for (int i = 4; i < capacity; ++i) k.Deliver({0xB0, 1, static_cast<std::uint8_t>(i % 128)});
    k.Deliver({0x80, 48, 64, 0x80, 52, 64, 0x80, 55, 64, 0x80, MelodyKey, 64});
    EXPECT_EQ(k.Input().MessageCount(), capacity);
    EXPECT_EQ(k.Input().LostEvents(), 4u);

    k.t.midi->ClearSent(0);
    k.RunControlThread();
    app::AppState& app = k.t.state;
    EXPECT_EQ(k.Input().MessageCount(), 0) << "what did arrive was handled";
    EXPECT_EQ(app.chords.CurrentType, 1) << "C major stays in force, as after a release";
    EXPECT_TRUE(k.t.session->Style().heldNotes.Empty()) << "no chord-zone key is left held";
    EXPECT_TRUE(k.Released(MelodyKey)) << "the melody note whose release was lost is released";
    EXPECT_STREQ(k.view->Shown().Status.c_str(), "MIDI input overflow: 4 messages lost");
    k.ExpectAFreshChordAndTheLossShownOnce();
}

TEST(InputOverflow, AnOverflowOfTheSecondInputAlsoEmptiesTheChordZoneAndReleasesWhatItPassedOn) {
    StalledKeyboard k;
    k.OpenSecondInput();
    midi::TMidiInput& second = *k.t.session->MidiInput2();
    k.Deliver({0x90, 48, 100, 0x90, 52, 100, 0x90, 55, 100});  // C E G held in the chord zone
    k.DeliverSecond({0x90, 60, 100, 0x90, 64, 100});           // two notes passed on to the first output
    k.DeliverSecond({0x80, 64, 0});                           // one of them released in time
    k.RunControlThread();
    ASSERT_FALSE(k.t.session->Style().heldNotes.Empty());
    const int capacity = second.Capacity();
    for (int i = 0; i < capacity; ++i) k.DeliverSecond({0xE0, static_cast<std::uint8_t>(i % 128), 64});
    k.DeliverSecond({0x80, 60, 0, 0xE0, 0, 64, 0xE0, 0, 64});  // lost: the release and two bends
    EXPECT_EQ(second.LostEvents(), 3u);

    k.t.midi->ClearSent(0);
    k.RunControlThread();
    EXPECT_EQ(second.MessageCount(), 0) << "what did arrive was handled";
    EXPECT_TRUE(k.t.session->Style().heldNotes.Empty()) << "no chord-zone key is left held";
    EXPECT_TRUE(k.Released(60)) << "the passed-on note whose release was lost is released";
    EXPECT_FALSE(k.Released(64)) << "a note released in time is not released again";
    EXPECT_STREQ(k.view->Shown().Status.c_str(), "MIDI input overflow: 3 messages lost");
    k.ExpectAFreshChordAndTheLossShownOnce();
}

// A pedal let go while the ring was full: every note it holds would sound on for ever.
TEST(InputOverflow, APedalWhoseReleaseWasLostIsReleasedOnEitherInput) {
    struct Case { const char* input; bool second; std::uint8_t pedal; };
    for (const Case c : {Case{"keyboard", false, 64}, Case{"keyboard", false, 66}, Case{"second", true, 64},
                         Case{"second", true, 66}}) {
        SCOPED_TRACE(std::string(c.input) + " input, controller " + std::to_string(c.pedal));
        StalledKeyboard k;
        if (c.second) k.OpenSecondInput();
        k.arranger.Remote().Bindings().Clear();  // the pedals of the second input pass thru, unbound
        midi::TMidiInput& input = c.second ? *k.t.session->MidiInput2() : k.Input();
        const auto deliver = [&](std::vector<std::uint8_t> bytes) {
            ASSERT_TRUE(k.t.midi->Feed(c.second ? 1 : 0, 0, bytes));
        };
        deliver({0xB0, c.pedal, 127, 0x90, MelodyKey, 90});
        k.RunControlThread();
        for (int i = 0; i < input.Capacity(); ++i) deliver({0xE0, static_cast<std::uint8_t>(i % 128), 64});
        deliver({0x80, MelodyKey, 0, 0xB0, c.pedal, 0});  // lost: the release and the pedal up
        ASSERT_EQ(input.LostEvents(), 2u);

        k.t.midi->ClearSent(0);
        k.RunControlThread();
        bool pedalUp = false;
        for (const midi::SentMessage& m : k.t.midi->Sent(0)) {
            pedalUp = pedalUp || ((m.Packed & 0xFF) == 0xB0 && ((m.Packed >> 8) & 0x7F) == c.pedal && (m.Packed >> 16) == 0);
        }
        EXPECT_TRUE(pedalUp) << "the pedal is let go on the output";
        EXPECT_TRUE(k.Released(MelodyKey));
        EXPECT_STREQ(k.view->Shown().Status.c_str(), "MIDI input overflow: 2 messages lost");
    }
}

TEST(InputOverflow, ABurstOfTenThousandMessagesWaitsForAStalledControlThreadWithoutLoss) {
    StalledKeyboard k;
    std::vector<std::uint8_t> burst;
    for (int i = 0; i < 10000; ++i) {
        burst.insert(burst.end(), {0xB0, 1, static_cast<std::uint8_t>(i % 128)});
    }
    k.Deliver(burst);  // one delivery: one period of the driver
    EXPECT_EQ(k.Input().MessageCount(), 10000);
    k.RunControlThread();
    EXPECT_EQ(k.Input().MessageCount(), 0);
    EXPECT_EQ(k.Input().LostEvents(), 0u);
    EXPECT_STREQ(k.view->Shown().Status.c_str(), "");
}

}  // namespace
}  // namespace chordella::testing
