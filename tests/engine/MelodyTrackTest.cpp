// The melody track: quantizing (grids, note-offs following, humanize), delete and restore,
// recording during a song, and playback that follows the chord memory's loops.

#include <algorithm>

#include <gtest/gtest.h>

#include "engine/MelodyQuantize.h"
#include "engine/SongRig.h"

namespace chordella::testing {
namespace {

const data::MelodyEvent& EventAt(SongRig& rig, std::size_t index) { return rig.Song().Melody.MelodyBuffer[index]; }

// The time of the event of `note` that is a note-on (or a note-off).
std::int32_t TimeOf(SongRig& rig, int note, bool noteOn) {
    const auto& buffer = rig.Song().Melody.MelodyBuffer;
    const auto end = buffer.begin() + rig.Song().Melody.MelodyCount;
    const auto it = std::find_if(buffer.begin(), end, [&](const data::MelodyEvent& e) {
        return e.Data1 == note && ((e.Status & 0xF0) == 0x90 && e.Data2 > 0) == noteOn;
    });
    return it == end ? -1 : it->Time;
}

// A track loaded from a song (a loaded track is also the recording quantize starts from).
void LoadTrack(SongRig& rig, SongBuilder song) { song.At(1).Chord("C").Measures(2).End().ApplyTo(rig.Song()); }

TEST(MelodyQuantize, MovesNotesToTheGridAndTheirNoteOffsByTheSameAmountUnlessTheOffHasAReleaseVelocity) {
    SongRig rig;
    rig.State().melody.Humanize = false;
    LoadTrack(rig, SongBuilder().Note(7, 60, 100, 20).Note(10, 62, 100, 20).Event(7, 0x90, 64, 100).Event(27, 0x80, 64, 64));
    rig.Melody.Quantize("1/16");
    EXPECT_EQ(TimeOf(rig, 60, true), 6);
    EXPECT_EQ(TimeOf(rig, 60, false), 26);
    EXPECT_EQ(TimeOf(rig, 62, true), 12);
    EXPECT_EQ(TimeOf(rig, 62, false), 32);
    EXPECT_EQ(TimeOf(rig, 64, true), 6);
    EXPECT_EQ(TimeOf(rig, 64, false), 27);

    SongRig swing;  // eighth swing: multiples of eight ticks
    swing.State().melody.Humanize = false;
    LoadTrack(swing, SongBuilder().Note(13, 60, 100, 5).Note(21, 62, 100, 5).Note(27, 64, 100, 5));
    swing.Melody.Quantize("1/8 swing");
    for (int note : {60, 62, 64}) EXPECT_EQ(TimeOf(swing, note, true) % 8, 0) << note;
    EXPECT_EQ(TimeOf(swing, 60, true), 16);
}

TEST(MelodyQuantize, QuantizingTwiceEqualsQuantizingTheRecordingOnceAndDeleteAndRestoreKeepTheRecording) {
    SongRig once, twice;
    for (SongRig* rig : {&once, &twice}) {
        rig->State().melody.Humanize = false;
        LoadTrack(*rig, SongBuilder().Note(5, 60, 100, 11).Note(17, 62, 90, 7).Note(41, 64, 80, 3));
    }
    twice.Melody.Quantize("1/8 swing");
    twice.Melody.Quantize("1/16");
    once.Melody.Quantize("1/16");
    EXPECT_EQ(once.Song().Melody.MelodyBuffer, twice.Song().Melody.MelodyBuffer);
    twice.Melody.Quantize("None");
    EXPECT_EQ(twice.Song().Melody.MelodyBuffer, twice.Song().Melody.MelodyBackup) << "None restores the recording";

    // Delete asks first; Restore brings the recording back.
    twice.Test.prompter->AnswerNo();
    twice.Melody.Delete();
    EXPECT_EQ(twice.Song().Melody.MelodyCount, 6);
    twice.Test.prompter->AnswerYes();
    twice.Melody.Delete();
    EXPECT_EQ(twice.Song().Melody.MelodyCount, 0);
    twice.Melody.Restore();
    EXPECT_EQ(twice.Song().Melody.MelodyCount, 6);
    EXPECT_EQ(EventAt(twice, 0).Data1, 60);
}

TEST(MelodyQuantize, HumanizeShortensLargeNoteOffShiftsAndKeepsSmallOnes) {
    data::MelodyTrack track(16);
    const data::MelodyEvent on{17, 0x90, 60, 100, 1}, off{40, 0x90, 60, 0, 1};
    const data::MelodyEvent smallOn{49, 0x90, 62, 100, 1}, smallOff{60, 0x90, 62, 0, 1};
    track.MelodyBackup = {on, off, smallOn, smallOff};
    track.MelodyBackup.resize(16);
    track.MelodyCount = 4;
    platform::Random random(7);
    for (int round = 0; round < 50; ++round) {
        engine::QuantizeMelodyTrack(track, 12, true, random);
        ASSERT_EQ(track.MelodyBuffer[0].Time, 12);
        // The note-on moved 5 ticks earlier; its note-off moves 1 … 5 less far.
        EXPECT_GE(track.MelodyBuffer[1].Time, 40 - 5 + 1);
        EXPECT_LE(track.MelodyBuffer[1].Time, 40);
        EXPECT_EQ(track.MelodyBuffer[2].Time, 48);
        EXPECT_EQ(track.MelodyBuffer[3].Time, 59) << "a shift of −1 is kept";
    }
}

TEST(MelodyTrack, AMelodyInALoopPlayedThreeTimesPlaysThreeTimes) {
    SongRig rig;
    SongBuilder song;
    song.At(1).Chord("C").At(2).LoopStart(3).At(3, 2).LoopEnd().Measures(4).End();
    song.NoteAt(1, 1, 79, 1).NoteAt(2, 2, 72, 1).NoteAt(4, 1, 74, 1);
    rig.PlaySong(song);
    rig.PlayedMeasures();
    EXPECT_EQ(rig.StartsOf(0, 79).size(), 1u);
    const auto loopNotes = rig.StartsOf(0, 72);
    ASSERT_EQ(loopNotes.size(), 3u);
    EXPECT_EQ(loopNotes[0], TickOf(2, 2));
    EXPECT_EQ(loopNotes[1], TickOf(4, 2));
    EXPECT_EQ(loopNotes[2], TickOf(6, 2));
    EXPECT_EQ(rig.StartsOf(0, 74), (std::vector<std::int64_t>{TickOf(8)}));
    EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
}

TEST(MelodyTrack, RecordsWhatIsPlayedDuringTheSongButNotBeforeAndPlaysItBackOnTheSameTicks) {
    SongRig rig;
    rig.Melody.ToggleRecording();
    ASSERT_EQ(rig.Session().Melody(), &rig.Melody) << "the rig wires its melody track";
    ASSERT_TRUE(rig.Session().Melody()->MelodyRecording());
    rig.Session().Melody()->RecordMelodyEvent(0x90, 60, 100);
    EXPECT_EQ(rig.Song().Melody.MelodyCount, 0) << "nothing is recorded before the song starts";
    rig.PlaySong(SongBuilder().At(1).Chord("C").Measures(2).End());
    rig.RunTo(TickOf(1, 2));
    rig.Session().Melody()->RecordMelodyEvent(0x90, 67, 90);
    rig.RunTo(TickOf(1, 3));
    rig.Session().Melody()->RecordMelodyEvent(0x90, 67, 0);
    rig.PlayedMeasures();
    ASSERT_FALSE(rig.Playing());
    EXPECT_FALSE(rig.Session().Melody()->MelodyRecording()) << "Stop closes the recording";
    ASSERT_EQ(rig.Song().Melody.MelodyCount, 2);
    EXPECT_EQ(rig.Song().Melody.MelodyBackup[0], EventAt(rig, 0));

    rig.Out.Messages.clear();
    const std::int64_t start = rig.ClockFields().TickCount;
    rig.Transport.Play();
    rig.PlayedMeasures();
    const auto starts = rig.StartsOf(0, 67);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0] - start, TickOf(1, 2));
}

TEST(MelodyTrack, WithMinusOneTheTrackPlaysOnTheVoiceChannelAndItsNotesLeaveThatChannelToIt) {
    SongRig rig;
    rig.Options().MinusOne = true;
    rig.Engine().VoiceChannel = 3;
    SongBuilder song;
    song.At(1).Chord("C").Measures(2).End().NoteAt(1, 2, 70, 1);
    rig.PlaySong(song);
    rig.RunTo(TickOf(1, 2) - 2);
    EXPECT_EQ(rig.Engine().PlayerSoloing, 0);
    rig.RunTo(TickOf(1, 2) + 2);
    EXPECT_EQ(rig.Engine().PlayerSoloing, 1) << "the style leaves the voice channel as to a player";
    rig.PlayedMeasures();
    EXPECT_EQ(rig.StartsOf(3, 70).size(), 1u);
    EXPECT_TRUE(rig.StartsOf(0, 70).empty());
}

TEST(MelodyTrack, TheLoopBoxRestsWhileTheMelodyRecordsAndReturnsWhenTheRecordingCloses) {
    SongRig rig;
    rig.Songs.SetLoop(true, 1, 1);
    rig.Melody.ToggleRecording();
    EXPECT_EQ(rig.Play().LoopOn, 0);
    rig.PlaySong(SongBuilder().At(1).Chord("C").Measures(2).End());
    EXPECT_EQ(rig.PlayedMeasures(), (std::vector<int>{1, 2})) << "the song is recorded through, not looped";
    EXPECT_FALSE(rig.Session().Melody()->MelodyRecording()) << "Stop closes the recording";
    EXPECT_EQ(rig.Play().LoopOn, 1);

    rig.Melody.ToggleRecording();
    EXPECT_EQ(rig.Play().LoopOn, 0);
    rig.Melody.ToggleRecording();
    EXPECT_EQ(rig.Play().LoopOn, 1) << "switching \"&Record\" off gives the loop back";
}

}  // namespace
}  // namespace chordella::testing
