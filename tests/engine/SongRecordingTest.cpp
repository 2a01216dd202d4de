// Recording chords into the chord memory: one chord per grid unit on its first beat, the
// grace window, the end mark at Stop, step recording, and a recorded song saved, opened and
// played back.

#include <gtest/gtest.h>

#include "core/SongFiles.h"
#include "engine/SongRig.h"

namespace chordella::testing {
namespace {

constexpr int C3 = 48, F3 = 53, G3 = 55;

// Starts recording with "Quantize" "4/4" and plays C; returns the tick at which C was
// written (the song's first beat).
std::int64_t StartRecording(SongRig& rig) {
    rig.Clock.SelectQuantize(engine::QuantizeIndexOf("4/4"));
    EXPECT_TRUE(rig.Load(BeatStyle()));
    rig.Clock.StartVirtual(120);
    rig.Test.prompter->AnswerYes();
    rig.Transport.Record();
    EXPECT_EQ(rig.State().transport.ChordPlayMode, 1);
    rig.Run(10);
    EXPECT_EQ(rig.Position(), 4) << "nothing moves before the first chord";
    rig.Chord(C3, 1);
    while (rig.Position() == 4 && rig.ClockFields().TickCount < 200) rig.Run(1);
    return rig.ClockFields().TickCount;
}

// Records C on measure 1, F played on beat 3 of measure 1, G a few ticks into measure 3.
std::int64_t RecordThreeChords(SongRig& rig) {
    const std::int64_t first = StartRecording(rig);
    rig.RunTo(first + 2 * 24 + 2);
    rig.Chord(F3, 1);
    rig.RunTo(first + 2 * 96 + 2);
    rig.Chord(G3, 1);
    rig.RunTo(first + 3 * 96 + 30);
    rig.Transport.Stop();
    return first;
}

TEST(SongRecording, ChordsLandOnTheirGridUnitsFirstBeatAfterTheGraceTicksStopMarksTheEndAndTheSavedSongPlaysThem) {
    SongRig rig;
    RecordThreeChords(rig);
    const data::ChordMemory& memory = rig.Song().Chords;
    EXPECT_EQ(memory.RecordAt(data::PositionOf(1, 1, 16)).ChordRoot, C3);
    EXPECT_EQ(memory.RecordAt(data::PositionOf(1, 3, 16)).ChordRoot, 0);
    EXPECT_EQ(memory.RecordAt(data::PositionOf(2, 1, 16)).ChordRoot, F3) << "a chord on beat 3 waits for the next unit";
    EXPECT_EQ(memory.RecordAt(data::PositionOf(3, 1, 16)).ChordRoot, G3) << "within the grace ticks: the unit just started";
    EXPECT_EQ(rig.Engine().StyleRoot % 12, G3 % 12) << "the late chord sounds at once";
    EXPECT_EQ(memory.RecordAt(data::PositionOf(4, 1, 16)).ChordRoot, 0);
    EXPECT_EQ(memory.RecordAt(data::PositionOf(4, 1, 16)).CommandCode, data::CommandStop);
    EXPECT_EQ(memory.ChordMemoryLength, data::PositionOf(5, 1, 16));
    EXPECT_EQ(rig.State().transport.ChordPlayMode, 0);

    // Saved and opened again, the recording plays the same chords on the same beats.
    const std::string path = rig.Test.home.Path() + "/Recorded.vxa";
    data::SongFiles files(rig.Session(), rig.State().arrangement, rig.State().options);
    ASSERT_TRUE(files.SaveTo(path));
    data::ClearChordMemory(rig.Song().Chords);
    ASSERT_EQ(files.Open({data::OpenSource::Path, path}), data::OpenOutcome::Opened);

    const std::int64_t start = rig.ClockFields().TickCount;
    rig.Transport.Play();
    ASSERT_LT(rig.State().transport.ChordPlayMode, 0);
    std::vector<int> roots;
    for (int measure = 1; measure <= 3; ++measure) {
        rig.RunTo(start + (measure - 1) * 96 + 2);
        roots.push_back(rig.Engine().StyleRoot % 12);
    }
    EXPECT_EQ(roots, (std::vector<int>{C3 % 12, F3 % 12, G3 % 12}));
    rig.Run(96 * 3);
    EXPECT_EQ(rig.State().transport.ChordPlayMode, 0) << "the end mark stops it";
    EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
}

TEST(SongRecording, StepRecordingWritesAChordPerTapAndKeepsAnUnchangedChordGoingOn) {
    SongRig rig;
    rig.Test.prompter->AnswerYes();
    rig.Transport.Record(true);
    ASSERT_EQ(rig.State().transport.ChordPlayMode, 2);
    rig.Recogniser.SetChord(C3, 1, 129);
    rig.Recogniser.SetChord(C3, 1, 129);
    rig.Recogniser.SetChord(F3, 1, 129);
    const data::ChordMemory& memory = rig.Song().Chords;
    EXPECT_EQ(memory.RecordAt(data::PositionOf(1, 1, 16)).ChordRoot % 12, C3 % 12);
    EXPECT_EQ(memory.RecordAt(data::PositionOf(1, 2, 16)).ChordRoot, 0);
    EXPECT_EQ(memory.RecordAt(data::PositionOf(1, 3, 16)).ChordRoot % 12, F3 % 12);
    EXPECT_EQ(rig.Position(), data::PositionOf(1, 4, 16));
}

TEST(SongPlayback, PlayAndOverwriteReplacesTheSongFromThePlayersChord) {
    SongRig rig;
    rig.Songs.SetOverwriteBox(true);
    rig.PlaySong(SongBuilder().At(1).Chord("C").At(2).Chord("F").Measures(2).End());
    rig.RunTo(TickOf(2) - 5);
    rig.Chord(G3, 1);
    rig.RunTo(TickOf(2) + 2);
    EXPECT_EQ(rig.Song().Chords.RecordAt(data::PositionOf(2, 1, 16)).ChordRoot, G3);
    EXPECT_EQ(rig.Engine().StyleRoot % 12, G3 % 12);
}


TEST(TransportArrangement, OpeningASongSetsItsTempoAndMeterAndPlayStartsIt) {
    SongRig rig;
    ASSERT_TRUE(rig.Load(BeatStyle()));
    const std::string path = rig.Test.home.Path() + "/Waltz.vxa";
    SongBuilder(3).Tempo(90).At(1).Chord("C").At(2).Chord("G").Measures(2).End().WriteTo(path);
    data::SongFiles files(rig.Session(), rig.State().arrangement, rig.State().options);
    ASSERT_EQ(files.Open({data::OpenSource::Path, path}), data::OpenOutcome::Opened);
    EXPECT_EQ(rig.ClockFields().MeasureUnits, 12);
    EXPECT_EQ(rig.ClockFields().Tempo, 90);
    rig.Clock.StartVirtual(rig.ClockFields().Tempo);
    rig.Session().ArrangementLink().StartPlayback();
    EXPECT_TRUE(rig.Playing());
    EXPECT_EQ(rig.PlayedMeasures(), (std::vector<int>{1, 2}));
    EXPECT_EQ(rig.ClockFields().TickCount, 2 * 72 + 1) << "two measures of three beats, then the end mark";
}

TEST(SubmitCommandKey, AKeyMarkInAnEmptyChordMemoryIsTheBasicKeyAndTheEndingKeyTwiceStops) {
    SongRig rig;
    rig.Start(BeatStyle());
    const data::ControlKeys& keys = rig.State().config.Keys;
    rig.Songs.SubmitCommandKey(5, data::ParamKeyMajor);
    EXPECT_EQ(rig.Engine().PendingCommandKey, std::min({keys.FillIn, keys.Ending, keys.ToExtended, keys.ToBasic}) - 5);
    EXPECT_EQ(rig.Engine().PendingCommandValue, 12);

    const int ending = rig.State().config.Keys.Ending;
    rig.Songs.SubmitCommandKey(ending, 0);
    EXPECT_EQ(rig.Engine().PendingCommandKey, ending);
    rig.Songs.SubmitCommandKey(ending, 0);
    EXPECT_EQ(rig.Player().StyleActive, 0);
}

}  // namespace
}  // namespace chordella::testing
