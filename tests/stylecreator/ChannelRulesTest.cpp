// The channel rules on a style in memory: the bass search and its fallbacks, muting and
// dampening by role, and channel 1 freed for a soloist.
#include <gtest/gtest.h>

#include "stylecreator/ChannelRules.h"
#include "stylecreator/RulesFixture.h"

namespace chordella::testing {
namespace {

using namespace stylecreator;

TEST(BassToChannel11, ABassAlreadyOnChannel11IsLeftAlone) {
    RulesStyle s;
    s.Channel(1, "Acoustic Bass");
    s.Channel(10, "Fingered Bass");
    RecordingRulesLink link;
    const BassMove move = MoveBassToChannel11(TargetOf(s.style), s.names, link);
    EXPECT_EQ(move.Result, BassMoveResult::AlreadyOn11);
    EXPECT_EQ(s.NoteChannels(), (std::vector<int>{1, 10}));
    EXPECT_EQ(link.status, (std::vector<std::string>{"BASS: Already on channel 11"}));
}

TEST(BassToChannel11, ABassOnlyOnChannel1IsUsedButALaterOneIsPreferred) {
    RulesStyle only;
    only.Channel(0, "Electric Bass (finger)");
    only.Channel(2, "Piano");
    RecordingRulesLink link;
    BassMove move = MoveBassToChannel11(TargetOf(only.style), only.names, link);
    EXPECT_EQ(move.Result, BassMoveResult::Moved);
    EXPECT_EQ(move.From, 0);
    EXPECT_EQ(only.NoteChannels(), (std::vector<int>{10, 2}));
    EXPECT_EQ(only.style.Header.ChannelUsed[0], 0);
    EXPECT_EQ(link.bassesTo, 10);

    RulesStyle both;
    both.Channel(0, "Slap Bass 1");
    both.Channel(5, "Synth Bass 1");
    move = MoveBassToChannel11(TargetOf(both.style), both.names, link);
    EXPECT_EQ(move.From, 5);
    EXPECT_EQ(both.NoteChannels(), (std::vector<int>{0, 10}));
}

TEST(BassToChannel11, ChannelElevenMovesToTheFirstFreeChannelWhichIsMuted) {
    RulesStyle s;
    s.Channel(3, "Fretless Bass");
    s.Channel(10, "Strings", 77);
    RecordingRulesLink link;
    const BassMove move = MoveBassToChannel11(TargetOf(s.style), s.names, link);
    ASSERT_EQ(move.Result, BassMoveResult::Moved);
    // Channel 1 is free but counts only when no later channel is.
    EXPECT_EQ(move.Channel11MovedTo, 1);
    EXPECT_EQ(s.NoteChannels(), (std::vector<int>{10, 1}));
    EXPECT_TRUE(link.muted[1]);
    EXPECT_EQ(s.Volume(1), 77);
    EXPECT_EQ(link.status.back(), "BASS: Redirected to ch. 11 - ch. 11 moved to ch. 2");
}

TEST(BassToChannel11, NoBassOrNoFreeChannelChangesNothingAndSaysSo) {
    RulesStyle none;
    none.Channel(2, "Piano");
    RecordingRulesLink link;
    EXPECT_EQ(MoveBassToChannel11(TargetOf(none.style), none.names, link).Result, BassMoveResult::NotFound);
    EXPECT_EQ(link.status.back(), "BASS: Not found");

    RulesStyle full;
    for (int c = 0; c < 16; ++c) full.Channel(c, c == 4 ? "Synth Bass 2" : "Piano");
    EXPECT_EQ(MoveBassToChannel11(TargetOf(full.style), full.names, link).Result, BassMoveResult::NoFreeChannel);
    EXPECT_EQ(link.status.back(), "All channels used !");
    EXPECT_EQ(full.NoteChannels()[4], 4);

    // The silent run after a conversion says nothing.
    RecordingRulesLink quiet;
    MoveBassToChannel11(TargetOf(none.style), none.names, quiet, true);
    EXPECT_TRUE(quiet.status.empty());
}

TEST(MuteAndDampen, StringsAndGuitarsAreDampenedBetweenZeroAndSeventyAndMutesToggle) {
    RulesStyle s;
    s.Channel(1, "String Ensemble 1", 10);
    s.Channel(2, "Nylon Guitar", 120);
    s.Channel(3, "Acoustic Bass", 100);
    s.Channel(9, "Steel String Guitar", 100);   // the drum channel is never touched
    RecordingRulesLink link;
    ApplyMuteAndDampen(s.style, s.names, {.Dampen = true, .DampenAmount = 30}, link);
    EXPECT_EQ(s.Volume(1), 0);
    EXPECT_EQ(s.Volume(2), 70);
    EXPECT_EQ(s.Volume(9), 100);
    EXPECT_EQ(link.mixerVolume[1], 0);
    EXPECT_EQ(link.sent, (std::vector<RecordingRulesLink::Sent>{{1, 7, 0}, {2, 7, 70}}));

    ApplyMuteAndDampen(s.style, s.names, {.MuteGuitars = true}, link);
    ApplyMuteAndDampen(s.style, s.names, {.MuteBass = true}, link);
    EXPECT_TRUE(link.muted[2]);
    EXPECT_TRUE(link.muted[3]);
    EXPECT_FALSE(link.muted[1]);
    // Toggling the guitars back leaves the strings where they were.
    ApplyMuteAndDampen(s.style, s.names, {.MuteGuitars = true}, link);
    EXPECT_FALSE(link.muted[2]);
    EXPECT_EQ(s.Volume(1), 0);
    EXPECT_EQ(s.Volume(2), 70);
}

TEST(SoloOnChannel1, ChannelOneMovesPastTenElevenAndTheSoloChannel) {
    RulesStyle s;
    s.Channel(0, "Piano");
    s.Channel(1, "Organ");
    EXPECT_EQ(FreeChannel1ForSolo(TargetOf(s.style), 2), 3);
    EXPECT_EQ(s.NoteChannels(), (std::vector<int>{3, 1}));
    EXPECT_EQ(FreeChannel1ForSolo(TargetOf(s.style), 2), -1);   // channel 1 is no longer used
}

}  // namespace
}  // namespace chordella::testing
