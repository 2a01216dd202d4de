// Generating chords from creator material: what the chord memory shows afterwards.
#include <gtest/gtest.h>

#include "CreatorFixture.h"
#include "chords/ChordTypes.h"
#include "stylecreator/ChordGeneration.h"
#include "stylecreator/Conversion.h"
#include "stylecreator/StyleCreator.h"
#include "support/CreatorMaterial.h"

namespace chordella::testing {
namespace {

using stylecreator::CreatorState;
using stylecreator::StyleCreator;

constexpr int Beat = 24;
constexpr int Measure = 96;

// (pitch class, type) of the chord starting at a position; (−1, 0) where none starts.
std::pair<int, int> ChordAt(const data::ChordMemory& memory, int position) {
    const data::BeatRecord record = memory.RecordAt(position);
    if (!data::StartsChord(record)) return {-1, 0};
    return {chords::PitchClass(record.ChordRoot), record.ChordType};
}

int ChordsIn(const data::ChordMemory& memory) {
    int count = 0;
    for (int p = data::FirstPosition; p < memory.ChordMemoryLength; p += 4) count += data::StartsChord(memory.RecordAt(p));
    return count;
}

struct ChordGenerationTest : ::testing::Test, CreatorFixture {
    void Generate() {
        bool changed = false;
        creator.GenerateChords([&](bool c) { changed = c; });
        ASSERT_TRUE(changed);
    }
};

TEST_F(ChordGenerationTest, ASingleCollectedNoteKeepsTheChordAndCountsInTheNextInterval) {
    // Beat 1: C E G. Beat 2: only A. Beat 3: C and E, which with the carried A make A minor
    // (without it they would stay C major, and nothing would be written).
    CreatorMaterial()
        .Chord(0, {60, 64, 67}, 0, 20)
        .Note(0, 57, Beat, 20)
        .Chord(0, {60, 64}, 2 * Beat, 20)
        .Into(Work(), Measure);
    Generate();
    EXPECT_EQ(ChordAt(Memory(), 4), std::make_pair(0, 1));
    EXPECT_EQ(ChordAt(Memory(), 8), std::make_pair(-1, 0));
    EXPECT_EQ(ChordAt(Memory(), 12), std::make_pair(9, 2));
}

TEST_F(ChordGenerationTest, TheChordMemoryShowsAChangeOnlyOnTheDownbeatWhereTheHarmonyChanges) {
    CreatorMaterial m;
    for (int beat = 0; beat < 4; ++beat) {
        m.Chord(0, {48, 60, 64, 67}, beat * Beat, 20);             // C major, struck on every beat
        m.Chord(0, {45, 57, 60, 64}, Measure + beat * Beat, 20);   // A minor
        m.Note(9, 38, beat * Beat, 6).Note(9, 42, beat * Beat + 12, 6);  // drums are no harmony
    }
    m.Into(Work(), 2 * Measure);
    Generate();
    EXPECT_EQ(ChordAt(Memory(), 4), std::make_pair(0, 1));
    EXPECT_EQ(ChordAt(Memory(), 20), std::make_pair(9, 2));  // measure 2, beat 1
    EXPECT_EQ(ChordsIn(Memory()), 2);
    // The length covers the two measures and a STOP closes them.
    EXPECT_EQ(Memory().RecordAt(36).CommandCode, data::CommandStop);
    EXPECT_EQ(Memory().ChordMemoryLength, 36 + 16);
    EXPECT_EQ(state.StoredSettingsCode, state.Generator.SettingsCode());
    EXPECT_EQ(state.StoredSettingsCode, 0 + 10 * 3 + 100 * 3);
}

TEST_F(ChordGenerationTest, IntervalChordSetAndStopMeasureShapeWhatIsWritten) {
    CreatorMaterial m;
    for (int measure = 0; measure < 3; ++measure) {
        m.Chord(0, {48, 55, 64, 70}, measure * Measure, 40);      // C7 in the first half
        m.Chord(0, {53, 57, 60}, measure * Measure + 48, 40);     // F in the second half
    }
    m.Into(Work(), 3 * Measure);
    // One chord per measure, majors only: C wins each measure, written once.
    state.Generator = {4, 1, 4};
    Generate();
    EXPECT_EQ(ChordAt(Memory(), 4), std::make_pair(0, 1));
    EXPECT_EQ(ChordsIn(Memory()), 1);

    // Half measures with all types, the third measure left out.
    state.Generator = {2, 4, 4};
    state.SongRange.StopMeasure = 2;
    t.prompter->AnswerYes();  // "Replace current chords ?"
    Generate();
    EXPECT_EQ(ChordAt(Memory(), 4), std::make_pair(0, 3));
    EXPECT_EQ(ChordAt(Memory(), 12), std::make_pair(5, 1));
    EXPECT_EQ(ChordAt(Memory(), 20), std::make_pair(0, 3));
    EXPECT_EQ(ChordAt(Memory(), 28), std::make_pair(5, 1));
    EXPECT_EQ(ChordAt(Memory(), 36), std::make_pair(-1, 0));
    EXPECT_EQ(ChordAt(Memory(), 44), std::make_pair(-1, 0));
}

TEST_F(ChordGenerationTest, NoToReplaceCurrentChordsLeavesThemAndNothingWithoutMaterial) {
    bool changed = true;
    creator.GenerateChords([&](bool c) { changed = c; });
    EXPECT_FALSE(changed);  // no work
    CreatorMaterial().Chord(0, {57, 60, 64}, 0, 90).Into(Work(), Measure);
    data::ClearChordMemory(Memory());
    Memory().SetRecord(8, {50, 4, 0, 0});
    Memory().ChordMemoryLength = 24;
    const data::ChordMemory before = Memory();
    t.prompter->AnswerNo();
    creator.GenerateChords([&](bool c) { changed = c; });
    EXPECT_FALSE(changed);
    EXPECT_EQ(t.prompter->Shown().back(), "Replace current chords ?");
    EXPECT_EQ(Memory().Bytes, before.Bytes);
    EXPECT_EQ(Memory().ChordMemoryLength, before.ChordMemoryLength);
}

TEST_F(ChordGenerationTest, ConvertedMaterialIsAnalysedAsItWasBeforeAndStaysConverted) {
    CreatorMaterial()
        .Chord(0, {48, 60, 64, 67}, 0, 90)
        .Chord(0, {50, 62, 65, 69}, Measure, 90)  // D minor
        .Into(Work(), 2 * Measure);
    state.Generator.IntervalBeats = 4;
    bool done = false;
    creator.ConvertAll([&](bool c) { done = c; });
    ASSERT_TRUE(done);
    ASSERT_TRUE(state.ConvertedFlag);
    const std::vector<std::uint8_t> converted(Work().Chunks[0].Buffer.get(),
                                              Work().Chunks[0].Buffer.get() + Work().Chunks[0].Size);
    // Converted, the second measure is C major too; the chords still come from D minor.
    t.prompter->AnswerYes();
    Generate();
    EXPECT_EQ(ChordAt(Memory(), 20), std::make_pair(2, 2));
    EXPECT_EQ(std::vector<std::uint8_t>(Work().Chunks[0].Buffer.get(), Work().Chunks[0].Buffer.get() + Work().Chunks[0].Size),
              converted);
}

TEST(ChordGenerationLimits, GenerationStopsBeforeTheChordMemoryEnds) {
    data::CreatorWork work;
    CreatorMaterial m;
    const int measures = 800;  // more beats than the chord memory holds
    for (int measure = 0; measure < measures; ++measure)
        m.Chord(0, measure % 2 ? std::initializer_list<int>{57, 60, 64} : std::initializer_list<int>{60, 64, 67},
                measure * Measure, 90);
    m.Into(work, measures * Measure);
    data::ChordMemory memory;
    data::ClearChordMemory(memory);
    stylecreator::GenerationRequest request;
    request.Settings.IntervalBeats = 4;
    const stylecreator::GenerationResult result = stylecreator::GenerateChordsFrom(work, memory, request);
    EXPECT_TRUE(result.ReachedLimit);
    EXPECT_LE(memory.ChordMemoryLength, data::ChordMemorySize);
    // The last whole interval before position 12000 is measure 749 (C major); the one that
    // would reach beyond it is not decided.
    const int lastDecided = data::PositionOf(749, 1, 16);
    EXPECT_EQ(ChordAt(memory, lastDecided), std::make_pair(0, 1));
    EXPECT_EQ(ChordAt(memory, lastDecided - 16), std::make_pair(9, 2));
    EXPECT_EQ(ChordAt(memory, lastDecided + 16), std::make_pair(-1, 0));
}

}  // namespace
}  // namespace chordella::testing
