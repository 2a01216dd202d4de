// Positions by measure and beat, octave and tone shifts, channel moves, and the work file
// the creator saves and loads.
#include <gtest/gtest.h>

#include "CreatorFixture.h"
#include "platform/Files.h"
#include "stylecreator/CreatorPositions.h"
#include "stylecreator/NoteShifts.h"
#include "stylecreator/StyleCreator.h"
#include "stylecreator/WorkFiles.h"
#include "data/StyleFile.h"
#include "support/StreamMessages.h"
#include "support/TempFolder.h"
#include "support/TestSession.h"
#include "support/CreatorMaterial.h"

namespace chordella::testing {
namespace {

constexpr int Beat = 24;
constexpr int Measure = 96;

std::vector<StreamMessage> MessagesOf(const data::CreatorWork& work) {
    return StreamMessagesOf(data::FirstChunkMaterial(work));
}

TEST(CreatorPositions, MeasureAndBeatGiveChordMemoryPositionsTicksAndOffsets) {
    EXPECT_EQ(stylecreator::MeasurePosition(1, 1, 16), 4);
    EXPECT_EQ(stylecreator::MeasurePosition(2, 3, 16), 28);
    EXPECT_EQ(stylecreator::MeasurePosition(2, 1, 12), 16);
    EXPECT_EQ(stylecreator::MeasureTick(2, 3, 16), 96 + 48);
    EXPECT_EQ(stylecreator::MeasureTick(3, 1, 12), 144);

    // Waits of 5 ticks, so beats fall inside waits; the index must find what walking finds.
    data::CreatorWork work;
    CreatorMaterial m;
    for (int tick = 0; tick < 4 * Measure; tick += 5) m.Note(0, 60, tick, 3);
    m.Into(work, 4 * Measure);
    const stylecreator::BeatIndex index = stylecreator::BuildBeatIndex(work);
    EXPECT_EQ(index.size(), 17u);
    for (std::int64_t tick = 0; tick <= 4 * Measure + 30; ++tick) {
        const auto walked = stylecreator::SeekTick(work, tick);
        const auto indexed = stylecreator::SeekTick(work, tick, &index);
        ASSERT_EQ(walked.At, indexed.At) << "tick " << tick;
        ASSERT_EQ(walked.TicksToWait, indexed.TicksToWait) << "tick " << tick;
        ASSERT_EQ(walked.Reached, indexed.Reached) << "tick " << tick;
        ASSERT_EQ(walked.Reached, tick <= 4 * Measure);
        // Back from the place to its tick: the tick, less what is still to wait.
        ASSERT_EQ(stylecreator::TickAt(work, walked.At) - walked.TicksToWait, std::min<std::int64_t>(tick, 4 * Measure));
    }
    // A beat inside a wait: the place after that wait, with the ticks still to come.
    const auto inside = stylecreator::SeekTick(work, 24);
    EXPECT_EQ(inside.TicksToWait, 1);
    EXPECT_EQ(work.Chunks[0].Buffer[inside.At.Offset - 1], 0xF9);  // the wait from tick 23 to 25
    EXPECT_EQ(stylecreator::Chunk0Offset(work, 1, 1, 16), stylecreator::NoStreamOffset);
    EXPECT_EQ(stylecreator::Chunk0Offset(work, 9, 1, 16), stylecreator::NoStreamOffset);
    EXPECT_EQ(stylecreator::Chunk0Offset(work, 2, 1, 16, &index),
              static_cast<std::uint32_t>(stylecreator::SeekTick(work, Measure).At.Offset));
    EXPECT_EQ(stylecreator::MeasuresInChunk0(work, 16), 4);
}

struct NoteShiftsTest : ::testing::Test, CreatorFixture {};

TEST_F(NoteShiftsTest, OctaveAndToneShiftsStayInTheirRangeOnPlayingChannelsAndTakeTheirNoteOffsAlong) {
    CreatorMaterial()
        .Note(0, 60, 0, 10)
        .Note(0, 60, Measure + 80, 40)   // ends in measure 3, outside the range
        .Note(0, 120, Measure, 10)       // an octave up would reach 132
        .Note(1, 60, Measure, 10)        // a muted channel
        .Note(2, 1, Measure + 20, 4)     // a tone down would reach 0
        .Into(Work(), 3 * Measure);
    t.state.engine.ChannelMute[1] = 1;
    state.SongRange = {2, 1, 2};
    EXPECT_EQ(creator.ShiftNotes(-1), 2);
    EXPECT_EQ(Key(Measure + 20, 2, true), 1);
    EXPECT_EQ(Key(Measure, 0, true), 119);
    EXPECT_EQ(creator.ShiftNotes(12), 2);
    EXPECT_EQ(Key(0, 0, true), 60);
    EXPECT_EQ(Key(Measure + 80, 0, true), 71);
    EXPECT_EQ(Key(Measure + 120, 0, false), 71);
    EXPECT_EQ(Key(Measure, 0, true), 119);
    EXPECT_EQ(Key(Measure, 1, true), 60);
    EXPECT_EQ(Key(Measure + 20, 2, true), 13);
    EXPECT_EQ(t.session->Style().style.StyleModified, 1);
}

TEST_F(NoteShiftsTest, MovingAChannelTakesItsSetUpToAnUnusedChannel) {
    CreatorMaterial()
        .Message(0, 0xC0, 33, 0)
        .Note(0, 40, 0, 30)
        .Note(0, 43, Measure, 10)
        .Note(4, 60, 0, 10)
        .Into(Work(), 2 * Measure);
    data::StyleHeader& header = t.session->Style().style.Header;
    header.ChannelUsed[0] = header.ChannelUsed[4] = 1;
    header.ChannelSetup[0][7] = 90;
    header.ChannelSetup[0][96] = 33;
    header.ChannelSetup[0][5] = 64;  // not one of the entries a move copies
    EXPECT_EQ(creator.MoveChannel(0, 10), 5);
    for (const StreamMessage& m : MessagesOf(Work())) EXPECT_NE(m.Status & 0x0F, 0);
    EXPECT_EQ(header.ChannelSetup[10][7], 90);
    EXPECT_EQ(header.ChannelSetup[10][96], 33);
    EXPECT_EQ(header.ChannelSetup[10][5], data::SetupNotSet);
    EXPECT_EQ(header.ChannelUsed[10], 1);
    EXPECT_EQ(header.ChannelUsed[0], 0);

    // Only measure 2 in Style mode: the used channel keeps its set-up and its earlier notes.
    state.Mode = stylecreator::CreatorMode::Style;
    state.StyleRange = {2, 1, 2};
    header.ChannelSetup[4][7] = 50;
    EXPECT_EQ(creator.MoveChannel(10, 4), 2);
    EXPECT_EQ(Key(0, 10, true), 40);
    EXPECT_EQ(Key(Measure, 4, true), 43);
    EXPECT_EQ(header.ChannelSetup[4][7], 50);
    EXPECT_EQ(header.ChannelUsed[10], 1);
}

TEST_F(NoteShiftsTest, AWorkFileBringsBackMaterialChordsAndPartsAndADamagedOneChangesNothing) {
    TempFolder folder;
    CreatorMaterial().Chord(0, {57, 60, 64}, 0, 90).Into(Work(), 2 * Measure);
    data::ChordMemory& chords = t.state.arrangement.Chords;
    chords.SetRecord(4, {45, 2, 0, 0});
    chords.ChordMemoryLength = 40;
    data::PartRecord& basic = t.session->Style().style.Parts[1];
    basic.StartMeasure = basic.EndMeasure = basic.LengthMeasures = basic.StartBeat = 1;
    basic.RangeEnd = 12;
    basic.FollowUpCode = data::followup::Repeat;
    t.session->Style().style.Header.StyleTempo = 111;
    std::string error;
    const std::string path = folder.Path() + "/Groove.vxw";
    ASSERT_TRUE(creator.SaveWork(path, error)) << error;

    TestSession other;
    stylecreator::CreatorState otherState;
    stylecreator::StyleCreator loaded(*other.session, otherState, app::CreatorLiveStateOf(other.state));
    ASSERT_TRUE(loaded.LoadWork(path, error)) << error;
    EXPECT_EQ(MessagesOf(other.session->Style().Work), MessagesOf(Work()));
    EXPECT_EQ(other.state.arrangement.Chords.RecordAt(4), chords.RecordAt(4));
    EXPECT_EQ(other.state.arrangement.Chords.ChordMemoryLength, 40);
    EXPECT_EQ(other.session->Style().style.Parts[1].EndMeasure, 1);
    EXPECT_EQ(other.session->Style().style.Header.StyleTempo, 111);
    EXPECT_EQ(otherState.SelectedPart, 1);
    EXPECT_EQ(other.session->Style().Work.Caption, "Style-Creator & Chord-Generator  -  GROOVE.VXW");

    // Cut inside its style header: refused, the loaded work stays.
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadFileBytes(path, 1 << 20, bytes, error));
    bytes.resize(600);
    const std::string cut = folder.Path() + "/Cut.vxw";
    ASSERT_TRUE(platform::WriteFileAtomically(cut, bytes, error)) << error;
    EXPECT_FALSE(loaded.LoadWork(cut, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(MessagesOf(other.session->Style().Work), MessagesOf(Work()));
}

TEST_F(NoteShiftsTest, ClearingAModifiedStyleOffersToSaveItAndACancelledSaveClearsNothingNotEvenTheChannelRules) {
    TempFolder folder;
    CreatorMaterial().Chord(0, {60, 64, 67}, 0, 90).Into(Work(), Measure);
    data::StyleState& style = t.session->Style().style;
    style.Parts[1].StartMeasure = style.Parts[1].EndMeasure = 1;
    style.Parts[1].RangeEnd = 3;
    style.Header.ChannelSetup[0][7] = 100;
    style.Native.Present = true;  // a native style was loaded before
    style.Native.Parts[1][0].Active = true;
    state.Volumes.VolumeOffset = 6;
    state.Volumes.ReverbOffset = -4;
    state.Mode = stylecreator::CreatorMode::Style;
    style.StyleModified = 1;
    bool cleared = true;

    t.prompter->AnswerYes();  // "Save Style first ?", then the dialog is cancelled
    creator.ClearWork([&](bool c) { cleared = c; });
    EXPECT_FALSE(cleared);
    EXPECT_EQ(t.prompter->Shown(), (std::vector<std::string>{"Save Style first ?", "Save Style as ..."}));
    EXPECT_TRUE(creator.HasWork());
    EXPECT_EQ(state.Volumes.VolumeOffset, 6);
    EXPECT_TRUE(style.Native.Present);

    const std::string path = folder.Path() + "/Saved.vxs";
    t.prompter->AnswerYes();
    t.prompter->AnswerText(path);
    creator.ClearWork([&](bool c) { cleared = c; });
    EXPECT_TRUE(cleared);
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_FALSE(creator.HasWork());
    EXPECT_FALSE(style.Parts[1].Present());
    EXPECT_EQ(style.Header.ChannelSetup[0][7], data::SetupNotSet);
    EXPECT_FALSE(style.Native.Present) << "the next material plays by no other style's channel table";
    EXPECT_FALSE(style.Native.Parts[1][0].Active);
    EXPECT_EQ(stylecreator::VolumeOffsetText(state.Volumes), "Style Volume Offset : 0");
    EXPECT_EQ(stylecreator::ReverbOffsetText(state.Volumes), "Style Reverb Offset : 0");

    // Song mode asks nothing.
    CreatorMaterial().Note(0, 60, 0, 10).Into(Work(), Measure);
    state.Mode = stylecreator::CreatorMode::Song;
    style.StyleModified = 1;
    const std::size_t asked = t.prompter->Shown().size();
    creator.ClearWork();
    EXPECT_EQ(t.prompter->Shown().size(), asked);
    EXPECT_FALSE(creator.HasWork());
}

TEST(CreatorStyleStream, MaterialEndingInAMessageWhoseLastDataByteIsZeroSavesWhole) {
    data::CreatorWork work;
    CreatorMaterial().Note(0, 60, 0, 10).Message(20, 0xC3, 5, 0).Into(work, 20);  // a program change last
    const std::vector<std::uint8_t> stream = stylecreator::StyleStreamOf(work);
    ASSERT_GE(stream.size(), 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(stream.end() - 4, stream.end()), (std::vector<std::uint8_t>{0xC3, 5, 0, 0}));
    std::string error;
    EXPECT_TRUE(data::CheckStyleStream(data::PartTable{}, stream, error)) << error;
}

}  // namespace
}  // namespace chordella::testing
