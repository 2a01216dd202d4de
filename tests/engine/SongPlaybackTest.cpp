// Playing a song from the chord memory: chords per beat, loops, the command records, the
// end and the ending mark, and the lead-in.

#include <algorithm>

#include <gtest/gtest.h>

#include "engine/Metronome.h"
#include "engine/SongRig.h"

namespace chordella::testing {
namespace {

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

SongBuilder LoopSong() {
    SongBuilder song;
    song.At(1).Chord("C").At(5).LoopStart(3).Chord("F").At(8, 3).LoopEnd().At(10).Chord("G").Measures(10).End();
    return song;
}

// Late in the beat before, the coming chord is already current (shown, named, sent as a chord
// code ahead), with the player's chord options applied as for a played chord; the style takes
// it up on its beat.
TEST(SongPlayback, PlaysTheChordOfEachRecordOnItsBeatAndMakesItCurrentLateInTheBeatBefore) {
    SongRig rig;
    rig.Options().MajorMinor = true;
    rig.PlaySong(SongBuilder().At(1).Chord("C").At(1, 3).Chord("Am").At(2).Chord("G").Measures(2).End());
    rig.Run(TickOf(1, 3) - 1);
    const chords::ChordState& chords = rig.State().chords;
    EXPECT_EQ(rig.Engine().StyleRoot % 12, 0) << "the style still plays C";
    EXPECT_EQ(chords.CurrentRoot % 12, 9);
    EXPECT_EQ(chords.CurrentType, 1) << "A minor is made current as A major";
    rig.Run(1);
    EXPECT_EQ(rig.Engine().StyleRoot % 12, 9);
    rig.RunTo(TickOf(2));
    EXPECT_EQ(rig.Engine().StyleRoot % 12, 7);
}

TEST(SongPlayback, ALoopStartOf103PlaysItsMeasuresThreeTimesThenGoesOnToTheEndUnlessLoopsAreIgnored) {
    for (bool ignore : {false, true}) {
        SCOPED_TRACE(ignore ? "Ignore loops" : "loops");
        SongRig rig;
        rig.Options().IgnoreLoops = ignore;
        rig.PlaySong(LoopSong());
        EXPECT_EQ(rig.PlayedMeasures(), ignore ? Repeated(1, 10, 1)
                                               : Concat(Concat(Repeated(1, 4, 1), Repeated(5, 8, 3)), Repeated(9, 10, 1)));
        EXPECT_FALSE(rig.Playing()) << "the end of the song stops it";
        EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
    }
}

TEST(SongPlayback, TheLoopBoxRepeatsItsRangeUntilStopped) {
    SongRig rig;
    rig.Songs.SetLoop(true, 2, 3);
    rig.PlaySong(SongBuilder().At(1).Chord("C").At(2).Chord("F").Measures(4).End());
    EXPECT_EQ(rig.PlayedMeasures(96 * 8), (std::vector<int>{1, 2, 3, 2, 3, 2, 3, 2}));
    EXPECT_TRUE(rig.Playing());
}

TEST(SongPlayback, ATranspositionOf254PlaysACChordAsBb) {
    SongRig rig;
    rig.PlaySong(SongBuilder().At(1).Command(data::CommandTranspose, 254).At(2).Chord("C").Measures(2).End());
    rig.RunTo(TickOf(2) + 2);
    EXPECT_EQ(rig.Engine().StyleRoot % 12, 10);
    EXPECT_EQ(rig.Song().Chords.RecordAt(data::PositionOf(2, 1, 16)).ChordRoot % 12, 0) << "the song is unchanged";
}

TEST(SongPlayback, ChannelCommand10LetsOnlyTheDrumsPlayUntilValue0) {
    SongRig rig;
    rig.PlaySong(SongBuilder().At(1).Chord("C").At(2).Solo(10).At(3).PlayAll().Measures(3).End());
    rig.RunTo(TickOf(4) - 1);
    auto between = [&](int channel, std::int64_t from, std::int64_t to) {
        return std::count_if(rig.Out.Messages.begin(), rig.Out.Messages.end(), [&](const SentMessage& m) {
            return m.IsNoteOn() && m.Channel() == channel && m.Tick >= from && m.Tick < to;
        });
    };
    EXPECT_GT(between(0, TickOf(1), TickOf(2)), 0);
    EXPECT_EQ(between(0, TickOf(2), TickOf(3)), 0);
    EXPECT_GT(between(9, TickOf(2), TickOf(3)), 0);
    EXPECT_GT(between(0, TickOf(3), TickOf(4)), 0);
}

// 750 measures of 4/4 fill the chord memory: its last beat is played like any other.
TEST(SongPlayback, ASongThatFillsTheChordMemoryPlaysItsLastBeat) {
    SongRig rig;
    const int last = data::MeasureCount(data::ChordMemoryPositionLimit, 16);
    ASSERT_EQ(last, 750);
    rig.PlaySong(SongBuilder().At(1).Chord("C").At(last, 4).Chord("G").Measures(last));
    for (int tick = 0; tick < (last + 2) * 96 && rig.Playing(); ++tick) rig.Run(1);
    EXPECT_FALSE(rig.Playing()) << "the song ends where the chord memory ends";
    bool lastBeatSounded = false;
    for (const auto& m : rig.Out.Messages) {
        lastBeatSounded = lastBeatSounded || (m.Status == 0x90 && m.Data1 % 12 == 7 && m.Data2 > 0);
    }
    EXPECT_TRUE(lastBeatSounded) << "the bass of beat 4 of measure 750 sounds as G";
    EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
}

TEST(SongPlayback, AnEndingMarkInSessionModeRepeatsTheSongBeforeTheCountDown) {
    SongRig rig;
    rig.Songs.SetSessionRepeats(2);
    const int ending = rig.State().config.Keys.Ending;
    rig.PlaySong(SongBuilder().At(1).Chord("C").At(3).Section(ending).Measures(3).End());
    std::vector<int> measures;
    int countdownStartedAtBeat = -1;
    int beats = 0;
    while (rig.Playing() && beats < 400) {
        const int before = rig.Position();
        rig.Run(1);
        if (rig.Position() == before) continue;
        ++beats;
        if (countdownStartedAtBeat < 0 && rig.Play().EndingCountdown != 0) countdownStartedAtBeat = beats;
        const int played = rig.Position() - 4;
        if ((played - 4) % 16 == 0) measures.push_back(data::MeasureOf(played, 16));
    }
    EXPECT_EQ(std::vector<int>(measures.begin(), measures.begin() + 5), (std::vector<int>{1, 2, 1, 2, 3}));
    EXPECT_EQ(rig.Play().SessionRepeats, 0);
    ASSERT_GT(countdownStartedAtBeat, 0);
    EXPECT_FALSE(rig.Playing());
}

// An ending longer than the count-down: the count-down stops the song at the end of the 44th
// beat after the mark; a short ending stops it when it ends.
TEST(SongPlayback, AnEndingMarkStopsWhenTheEndingEndsOrAtTheLatestAtThe44thBeatEndAfterTheMark) {
    SongRig rig;
    const int ending = rig.State().config.Keys.Ending;
    rig.Options().PlayEnding = true;
    StyleBuilder style = BeatStyle();
    style.Part(data::StylePart::Ending).Measures(12).Note(0, BassNote, 100, 0, 24);
    rig.PlaySong(SongBuilder().At(1).Chord("C").At(2).Section(ending).Measures(40).End(), style);
    rig.RunTo(TickOf(2) + 1);
    ASSERT_EQ(rig.Play().EndingCountdown, 1);
    rig.RunTo(TickOf(2) + 43 * 24);
    EXPECT_TRUE(rig.Playing());
    rig.RunTo(TickOf(2) + 44 * 24 + 1);
    EXPECT_FALSE(rig.Playing());
    EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));

    SongRig shortEnding;
    shortEnding.Options().PlayEnding = true;
    StyleBuilder oneMeasure = BeatStyle();
    oneMeasure.Part(data::StylePart::Ending).Measures(1).Note(0, BassNote, 100, 0, 24);
    shortEnding.PlaySong(SongBuilder().At(1).Chord("C").At(2).Section(ending).Measures(40).End(), oneMeasure);
    shortEnding.RunTo(TickOf(6));
    EXPECT_FALSE(shortEnding.Playing());
    EXPECT_TRUE(NoStuckNotes(shortEnding.Out.Messages));
}

TEST(SongPlayback, AStartMeasureLaterInTheSongFindsTheChordInForce) {
    SongRig rig;
    rig.Songs.SetStartMeasure(3);
    rig.PlaySong(SongBuilder().At(1).Chord("C").At(2).Chord("D").Measures(4).End());
    rig.Run(2);
    EXPECT_EQ(rig.Engine().StyleRoot % 12, 2);
    EXPECT_EQ(rig.Position(), data::PositionOf(3, 2, 16));
}

TEST(SongPlayback, LeadInMeasuresPlayNoChordAndClickAtLevel80) {
    SongRig rig;
    rig.Options().Metronome = true;
    rig.Songs.SetStartMeasure(-1);
    rig.PlaySong(SongBuilder().At(1).Chord("F").Measures(2).End());
    rig.Run(TickOf(2) - 2);
    EXPECT_LT(rig.Position(), 4 + 4);
    const auto clicks = rig.Clicks();
    ASSERT_EQ(clicks.size(), 4u);
    for (const SentMessage& click : clicks) EXPECT_NE(click.Data2, engine::LiveClickLevel - 40);
    rig.Run(30);
    EXPECT_EQ(rig.Engine().StyleRoot % 12, 5);
}

TEST(SongPlayback, AProgramChangeRequestIsSentAtTheMiddleOfTheBeat) {
    SongRig rig;
    rig.PlaySong(SongBuilder().At(1).Chord("C").Measures(2).End());
    rig.Run(2);
    rig.Songs.RequestProgramChange(130);
    rig.RunTo(TickOf(1, 2));
    const auto programs =
        rig.Out.Where([](const SentMessage& m) { return m.Kind() == 0xC0 || m.IsController(0); });
    ASSERT_EQ(programs.size(), 2u);
    EXPECT_EQ(programs[0].Data2, 1);   // bank 130 div 128
    EXPECT_EQ(programs[1].Data1, 2);   // program 130 mod 128
    EXPECT_EQ(programs[1].Tick, 12);
}

}  // namespace
}  // namespace chordella::testing
