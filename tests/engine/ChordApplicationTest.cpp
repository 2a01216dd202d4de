// What applying a chord sends besides the style: chord codes, the tap for an external
// arranger, the harmonic pad and the chord played on the voice channel.

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "engine/EngineRig.h"

namespace chordella::testing {
namespace {

using data::StylePart;

StyleBuilder QuietStyle() {
    StyleBuilder b;
    b.Part(StylePart::Basic).Measures(1).Note(9, 36, 100, 0, 6);
    return b;
}

// Plays the quiet style with the harmonic pad on channel 15 at `volume`.
void PlayWithPad(EngineRig& rig, int volume) {
    rig.Options().HarmonicPad = true;
    rig.Options().PadChannel = 14;
    rig.Engine().ChannelVolume[14] = static_cast<std::uint8_t>(volume);
    rig.Play(QuietStyle());
}

// The codes themselves are the chord-code suite's (tests/chords/ChordCodesTest.cpp).
TEST(ChordCodes, AreSentOnTheChosenChannelForEveryCodedChordApplied) {
    EngineRig rig;
    rig.Options().SendChordCodes = true;
    rig.Options().ChordCodeChannel = 4;
    rig.Chord(52, 2);   // E minor
    rig.Chord(53, 12);  // type 12 on F
    rig.Chord(53, 25);  // beyond the codes
    std::vector<std::array<int, 3>> codes;
    for (const SentMessage& m : rig.Out.Where([](const SentMessage& m) { return m.Kind() == 0xB0; }))
        codes.push_back({m.Status, m.Data1, m.Data2});
    EXPECT_EQ(codes, (std::vector<std::array<int, 3>>{{0xB4, 20, 12 + 4}, {0xB4, 19, 12 + 5}}));
}

TEST(ChordTap, WithNoStylePlayingTheChordIsTappedForAnExternalArrangerWhileTheOutputIsOpen) {
    EngineRig rig;
    rig.Engine().TriggerVelocity = 64;
    rig.Chord(48, 1);
    const MessageTriples tapped = {{0x90, 48, 64}, {0x90, 52, 64}, {0x90, 55, 64}, {0x90, 48, 0}, {0x90, 52, 0}, {0x90, 55, 0}};
    EXPECT_EQ(TriplesOf(rig.Out.Messages), tapped);
    EXPECT_EQ(rig.Engine().PendingRoot, 0) << "the pending chord is used up";

    rig.Out.Open = false;
    rig.Chord(53, 1);
    EXPECT_EQ(rig.Engine().PendingRoot, 53) << "a closed output: nothing happens, the chord stays pending";
    EXPECT_EQ(TriplesOf(rig.Out.Messages), tapped);
}

// The chord side that names what the engine applies; SetChord is not the engine's to call here.
struct ShownChords final : core::ChordLink {
    void SetChord(std::int16_t, std::int16_t, std::int16_t) override { ADD_FAILURE() << "the engine set a chord"; }
    void ShowChord(std::int16_t root, std::int16_t type) override { Shown.emplace_back(root, type); }
    core::ChordPair PreviewChord(int, int) override { return {}; }
    std::vector<std::pair<int, int>> Shown;
};

TEST(ChordApplication, TheChordIsShownWhenItTakesEffectAndNotBefore) {
    EngineRig rig;
    ShownChords chords;
    rig.Session().SetChordLink(&chords);
    rig.Chord(48, 1);  // clock off: applied at once
    ASSERT_EQ(chords.Shown, (std::vector<std::pair<int, int>>{{48, 1}}));

    rig.Play(QuietStyle());
    rig.Chord(53, 2);
    EXPECT_EQ(chords.Shown.size(), 1u) << "the chord waits for the grid";
    EXPECT_EQ(rig.Session().Engine().PendingChord().Root, 53);
    rig.Run(96);
    EXPECT_EQ(chords.Shown.back(), std::make_pair(53, 2));
    EXPECT_EQ(rig.Session().Engine().PendingChord().Root, 0) << "used up when applied";
    rig.Session().SetChordLink(nullptr);
}

TEST(HarmonicPad, EachChordEndsTheOldPadNotesAndStartsTheNewOnesAtTheChannelVolume) {
    EngineRig rig;
    rig.Options().PadOctave = 1;
    PlayWithPad(rig, 77);
    rig.Chord(48, 1);
    rig.Run(2);
    rig.Chord(53, 1);
    rig.Run(24);
    EXPECT_EQ(TriplesOf(rig.Out.OnChannel(14)), (MessageTriples{{0x9E, 60, 77}, {0x9E, 64, 77}, {0x9E, 67, 77}, {0x9E, 60, 0},
                                                   {0x9E, 64, 0}, {0x9E, 67, 0}, {0x9E, 65, 77}, {0x9E, 69, 77},
                                                   {0x9E, 72, 77}}));
}

TEST(HarmonicPad, FollowsTheFadeAndTheSoloFilter) {
    EngineRig rig;
    PlayWithPad(rig, 50);
    rig.Player().FadeActive = 1;
    rig.Player().FadeAmount = 20;
    rig.Chord(48, 1);
    rig.Run(1);
    ASSERT_FALSE(rig.Out.NoteOns(14).empty());
    EXPECT_EQ(rig.Out.NoteOns(14)[0].Data2, 30);
    rig.Engine().SoloFilter = 10;
    rig.Out.Clear();
    rig.Run(30);
    rig.Chord(50, 1);
    rig.Run(24);
    EXPECT_TRUE(rig.Out.NoteOns(14).empty());
}

TEST(PlayChords, TheChordSoundsOnTheVoiceChannelAndTheNextOneEndsIt) {
    EngineRig rig;
    rig.Options().PlayChords = true;
    rig.Engine().VoiceChannel = 2;
    rig.Engine().TriggerVelocity = 100;
    rig.Engine().KeyboardOctave = 1;
    rig.Chord(48, 1);
    rig.Chord(48, 1);  // the same chord again sounds again without ending first
    rig.Chord(53, 1);
    // One octave up from the keyboard transposition.
    EXPECT_EQ(TriplesOf(rig.Out.OnChannel(2)),
              (MessageTriples{{0x92, 60, 100}, {0x92, 64, 100}, {0x92, 67, 100}, {0x92, 60, 100}, {0x92, 64, 100}, {0x92, 67, 100},
                     {0x92, 60, 0}, {0x92, 64, 0}, {0x92, 67, 0}, {0x92, 65, 100}, {0x92, 69, 100}, {0x92, 72, 100}}));
}

}  // namespace
}  // namespace chordella::testing
