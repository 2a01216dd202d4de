// `chordella arranger`: finding ports, preparing a session from flags, and the stop that
// leaves nothing sounding.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/ArrangerCommand.h"
#include "app/LiveArranger.h"
#include "chords/KeyboardInput.h"
#include "support/TestSession.h"

namespace chordella::app {
namespace {

struct CapturedText {
    CapturedText() : file(std::tmpfile()) {}
    ~CapturedText() { std::fclose(file); }
    std::string Text() {
        std::fflush(file);
        std::rewind(file);
        std::string text;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, file)) text += buffer;
        return text;
    }
    std::FILE* file;
};

TEST(FindPort, ANumberAnExactNameOrTheOnlyNameContainingTheTextFindsThePort) {
    testing::TestSession t;
    midi::MidiBackend& backend = t.session->MidiBackend();
    EXPECT_EQ(FindPort(backend, true, "1"), 1);
    EXPECT_EQ(FindPort(backend, true, "7"), std::nullopt);
    EXPECT_EQ(FindPort(backend, true, "Memory In 2"), 1);
    EXPECT_EQ(FindPort(backend, true, "in 1"), 0) << "case-insensitive part of a name";
    EXPECT_EQ(FindPort(backend, true, "memory"), std::nullopt) << "more than one fits";
    EXPECT_EQ(FindPort(backend, false, "out 3"), 2);
    EXPECT_EQ(FindPort(backend, false, "Memory Synth"), -1);
    EXPECT_EQ(FindPort(backend, true, "99999999999999"), std::nullopt);
}

TEST(PrepareArranger, WithoutAnOutputNamedTheBuiltInSynthPlaysAndTheFirstKeyboardIsOpened) {
    testing::TestSession t;
    LiveArranger arranger(*t.session);
    CapturedText err;
    ArrangerFlags flags;
    flags.firstKey = 36;
    flags.lastKey = 54;
    ASSERT_TRUE(PrepareArranger(*t.session, flags, err.file)) << err.Text();
    EXPECT_TRUE(t.midi->IsOutputOpen(-1));
    EXPECT_TRUE(t.midi->IsInputOpen(0));
    EXPECT_FALSE(t.midi->IsInputOpen(1));
    EXPECT_EQ(t.session->App().chords.FirstKey, 36);
    EXPECT_EQ(t.session->App().config.Keys.LastChordKey, 54);
}

TEST(PrepareArranger, NamedPortsAreOpenedAndUnknownOnesRefusedWithTheirName) {
    testing::TestSession t;
    LiveArranger arranger(*t.session);
    ArrangerFlags flags;
    flags.in = "In 2";
    flags.out = "Out 2";
    flags.secondIn = "Memory In 1";
    CapturedText err;
    ASSERT_TRUE(PrepareArranger(*t.session, flags, err.file)) << err.Text();
    EXPECT_TRUE(t.midi->IsOutputOpen(1));
    EXPECT_TRUE(t.midi->IsInputOpen(0));
    EXPECT_TRUE(t.midi->IsInputOpen(1));

    testing::TestSession other;
    LiveArranger otherArranger(*other.session);
    flags.out = "Nowhere";
    CapturedText refused;
    EXPECT_FALSE(PrepareArranger(*other.session, flags, refused.file));
    EXPECT_NE(refused.Text().find("Nowhere: no such MIDI output"), std::string::npos) << refused.Text();
}

TEST(PrepareArranger, AnEmptyChordZoneOrAMissingStyleIsRefused) {
    testing::TestSession t;
    LiveArranger arranger(*t.session);
    ArrangerFlags flags;
    flags.firstKey = 60;
    flags.lastKey = 59;
    CapturedText err;
    EXPECT_FALSE(PrepareArranger(*t.session, flags, err.file));
    EXPECT_NE(err.Text().find("chord zone"), std::string::npos);

    flags.firstKey = -1;
    flags.lastKey = -1;
    flags.style = t.home.Path() + "/missing.vxs";
    CapturedText missing;
    EXPECT_FALSE(PrepareArranger(*t.session, flags, missing.file));
    EXPECT_NE(missing.Text().find("missing.vxs"), std::string::npos);
    EXPECT_FALSE(t.midi->IsInputOpen(0)) << "nothing is opened for a command that fails";
}

TEST(LiveArranger, StopReleasesTheNotesThePlayerStillHolds) {
    testing::TestSession t;
    LiveArranger arranger(*t.session);
    CapturedText err;
    ASSERT_TRUE(PrepareArranger(*t.session, ArrangerFlags{}, err.file)) << err.Text();
    ASSERT_TRUE(t.midi->Feed(0, 0, {0x90, 72, 100, 0x90, 76, 100}));
    t.session->Loop().RunPending();
    ASSERT_EQ(t.midi->Sent(-1).size(), 2u);
    t.midi->ClearSent(-1);
    arranger.Stop();
    int released = 0;
    for (const midi::SentMessage& m : t.midi->Sent(-1)) {
        if ((m.Packed & 0xF0) == 0x90 && ((m.Packed >> 16) & 0x7F) == 0) ++released;
    }
    EXPECT_EQ(released, 2);
    const std::size_t afterStop = t.midi->Sent(-1).size();
    arranger.Stop();
    EXPECT_EQ(t.midi->Sent(-1).size(), afterStop) << "a second Stop sends nothing";
}

}  // namespace
}  // namespace chordella::app
