// Chord codes on controllers 19 and 20: sending, reading back, and the ad-lib commands.
#include "chords/ChordCodes.h"

#include <gtest/gtest.h>

#include <array>

#include "chords/ChordFixture.h"
#include "core/Options.h"
#include "support/RecordingOutput.h"

namespace chordella::chords {
namespace {

using testing::ChordFixture;
using ::chordella::testing::RecordingOutput;

TEST(ChordCode, ReadsBackEveryCodedChordAndNothingElseAndIsSentOnTheChosenChannel) {
    for (int type = 1; type <= MaxCodedType; ++type) {
        for (int root = 36; root < 48; ++root) {
            const auto code = ChordCode(root, type);
            ASSERT_TRUE(code);
            EXPECT_LT(code->Value, AdLibOnCode);
            const auto chord = DecodeChordCode(code->Controller, code->Value);
            ASSERT_TRUE(chord);
            EXPECT_EQ(chord->Type, type);
            EXPECT_EQ(chord->PitchClass, root % 12);
        }
    }
    for (const int type : {0, -1, 21, 34, 1000}) EXPECT_FALSE(ChordCode(60, type)) << type;
    EXPECT_EQ(ChordCode(-5, 1)->Value, 7) << "a negative root still has a pitch class";
    EXPECT_FALSE(DecodeChordCode(7, 40));
    EXPECT_FALSE(DecodeChordCode(20, 120));
    EXPECT_FALSE(DecodeChordCode(19, 127));
    EXPECT_FALSE(DecodeChordCode(20, -1));
    const auto received = DecodeChordCode(19, 95);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->Type, 18);

    // Sent as a control change on the chosen channel while the output is open.
    RecordingOutput out;
    EXPECT_TRUE(SendChordCode(out, 3, 64, 4));
    EXPECT_FALSE(SendChordCode(out, 3, 64, 0));
    out.Open = false;
    EXPECT_FALSE(SendChordCode(out, 3, 60, 1));
    ASSERT_EQ(out.Messages.size(), 1u);
    EXPECT_EQ((std::array<int, 3>{out.Messages[0].Status, out.Messages[0].Data1, out.Messages[0].Data2}),
              (std::array<int, 3>{0xB3, 20, 40}));
}

TEST(ReceiveChordCode, MakesTheCodedChordCurrentInTheChordZoneOnTheKeyboardAndShowsIt) {
    ChordFixture f;
    EXPECT_EQ(f.recogniser->ReceiveChordCode(40, 20, 5), ChordCodeOutcome::Consumed);
    EXPECT_EQ(f.Chords().CurrentType, 4);
    EXPECT_EQ(f.Chords().CurrentRoot, 52);  // E above the default zone's octave
    EXPECT_EQ(f.view->Title, "Chordella  -  Chord : E min7");
    EXPECT_EQ(f.view->PanelName, "E min7");
    EXPECT_EQ(f.Pending(), std::make_pair(0, 0)) << "a received chord is shown, not played";

    f.recogniser->ReceiveChordCode(95, 19, 0);
    EXPECT_EQ(f.Chords().CurrentType, 18);
    EXPECT_EQ(f.view->PanelName, "B maj");

    SetFirstKey(f.Chords(), 127);  // a zone at the top: the root stays on the keyboard
    for (int pitchClass = 0; pitchClass < 12; ++pitchClass) {
        f.recogniser->ReceiveChordCode(pitchClass, 20, 0);
        EXPECT_LE(f.Chords().CurrentRoot, 127);
        EXPECT_EQ(PitchClass(f.Chords().CurrentRoot), pitchClass);
    }
}

TEST(ReceiveChordCode, PassesOtherMessagesOnAndEverythingWhenReceivingIsOffAndSwitchesMelodyAdLibWith120And121) {
    ChordFixture f, imported;
    imported.engine.ImportedMaterial = true;
    EXPECT_EQ(imported.recogniser->ReceiveChordCode(40, 20, 0), ChordCodeOutcome::Consumed) << "dropped, ignored";
    EXPECT_EQ(imported.Chords().CurrentRoot, NoCurrentChord);
    EXPECT_TRUE(imported.view->Title.empty());
    EXPECT_EQ(f.recogniser->ReceiveChordCode(40, 7, 0), ChordCodeOutcome::PassOn);
    f.Options().ReceiveChordCodes = false;
    EXPECT_EQ(f.recogniser->ReceiveChordCode(40, 20, 0), ChordCodeOutcome::PassOn);
    EXPECT_EQ(f.recogniser->ReceiveChordCode(120, 20, 0), ChordCodeOutcome::PassOn);
    EXPECT_EQ(f.Chords().CurrentType, 0);
    EXPECT_FALSE(f.Options().MelodyAdLib);

    f.Options().ReceiveChordCodes = true;
    EXPECT_EQ(f.recogniser->ReceiveChordCode(120, 20, 0), ChordCodeOutcome::AdLibChanged);
    EXPECT_TRUE(f.Options().MelodyAdLib);
    EXPECT_EQ(f.recogniser->ReceiveChordCode(121, 19, 0), ChordCodeOutcome::AdLibChanged);
    EXPECT_FALSE(f.Options().MelodyAdLib);
    EXPECT_EQ(f.view->AdLibShown, (std::vector<bool>{true, false}));
    // Other values above 119 mean nothing here; they are dropped all the same.
    EXPECT_EQ(f.recogniser->ReceiveChordCode(125, 20, 0), ChordCodeOutcome::Consumed);
    EXPECT_FALSE(f.Options().MelodyAdLib);
}

TEST(AnnounceMelodyAdLib, IsUnderstoodTheSameWayByAReceivingProgramAndNeedsChordCodesSent) {
    ChordFixture sender, receiver;
    RecordingOutput out;
    sender.Options().MelodyAdLib = true;
    EXPECT_FALSE(sender.recogniser->AnnounceMelodyAdLib(out));
    EXPECT_TRUE(out.Messages.empty());
    sender.Options().SendChordCodes = true;
    sender.Options().ChordCodeChannel = 2;
    for (const bool on : {true, false, true}) {
        sender.Options().MelodyAdLib = on;
        ASSERT_TRUE(sender.recogniser->AnnounceMelodyAdLib(out));
        const auto& sent = out.Messages.back();
        EXPECT_EQ(sent.Status, 0xB2);
        receiver.recogniser->ReceiveChordCode(sent.Data2, sent.Data1, sent.Status & 0x0F);
        EXPECT_EQ(receiver.Options().MelodyAdLib, on);
    }
}

}  // namespace
}  // namespace chordella::chords
