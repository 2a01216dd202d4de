// Converting creator material to C major: the modes, the chord each note follows, the note-offs,
// and the questions around it.
#include <gtest/gtest.h>

#include "CreatorFixture.h"
#include "stylecreator/Conversion.h"
#include "stylecreator/StyleCreator.h"
#include "support/CreatorMaterial.h"

namespace chordella::testing {
namespace {

using stylecreator::ConvertKey;
using stylecreator::ConvertMode;

constexpr int Beat = 24;
constexpr int Measure = 96;
constexpr int Cm = 2, Min = 2, Seventh = 3, Maj = 1;

TEST(ConvertKey, EachModeShiftsCorrectsOrSnapsAsItsNameSays) {
    const struct {
        int key, root, type;
        ConvertMode mode;
        int expected;
        const char* why;
    } cases[] = {
        {60, 48, Cm, ConvertMode::ImproperNotes, 60, "C, E and G under C minor stay"},
        {64, 48, Cm, ConvertMode::ImproperNotes, 64, ""}, {79, 48, Cm, ConvertMode::ImproperNotes, 79, ""},
        {63, 48, Cm, ConvertMode::ImproperNotes, 64, "the minor third becomes E"},
        {62, 48, Cm, ConvertMode::ImproperNotes, 60, "D snaps to C"},
        {64, 48, Min, ConvertMode::AllNotes, 64, "an E under a minor chord is kept"},
        // A minor: A C E become C E G (the shift of A is −3).
        {57, 45, Min, ConvertMode::AllNotes, 60, ""}, {60, 45, Min, ConvertMode::AllNotes, 64, ""},
        {64, 45, Min, ConvertMode::AllNotes, 67, ""},
        // G7: G B D F become C E G C (the shift of G is 7; the seventh goes up to the octave).
        {55, 43, Seventh, ConvertMode::AllNotes, 48, ""}, {59, 43, Seventh, ConvertMode::AllNotes, 52, ""},
        {62, 43, Seventh, ConvertMode::AllNotes, 55, ""}, {65, 43, Seventh, ConvertMode::AllNotes, 60, ""},
        {62, 50, Min, ConvertMode::ChordKeys, 60, "D minor's D: shifted only"},
        {65, 50, Min, ConvertMode::ChordKeys, 63, "its F stays a minor third"},
        {65, 50, Min, ConvertMode::ChordTypes, 64, "the type correction makes it E"},
        {61, 48, Maj, ConvertMode::ChordNotes, 60, "C# to C"},
        {62, 48, Maj, ConvertMode::ChordNotes, 62, "D stays"},
        {62, 48, Maj, ConvertMode::AllNotes, 60, "where mode 5 snaps it"},
    };
    for (const auto& c : cases) EXPECT_EQ(ConvertKey(c.key, c.root, c.type, c.mode), c.expected) << c.key << " " << c.why;
    EXPECT_EQ(stylecreator::KeyToC(65), 60);
    EXPECT_EQ(stylecreator::KeyToC(66), 72);
    EXPECT_EQ(stylecreator::KeyToC(127), 120);  // the C above would leave the keyboard
    EXPECT_EQ(stylecreator::RootShift(45), -3);
    EXPECT_EQ(stylecreator::RootShift(43), 7);
}

struct ConversionTest : ::testing::Test, CreatorFixture {
    std::vector<std::uint8_t> Bytes() {
        const auto material = data::FirstChunkMaterial(Work());
        return {material.begin(), material.end()};
    }
    // Chords entered by hand, as the generator would have written them.
    void Chords(std::initializer_list<std::pair<int, data::BeatRecord>> records) {
        data::ClearChordMemory(Memory());
        for (const auto& [position, record] : records) Memory().SetRecord(position, record);
        Memory().ChordMemoryLength = 200;
        state.StoredSettingsCode = state.Generator.SettingsCode();  // no regeneration
    }
};

TEST_F(ConversionTest, ANoteOffGetsTheKeyItsNoteOnGotThoughTheChordChangedBetween) {
    // E held from C major into A minor; then an E struck under A minor.
    CreatorMaterial().Note(0, 64, 0, 30).Note(0, 64, 2 * Beat, 10).Note(9, 38, Beat, 10).Into(Work(), Measure);
    Chords({{4, {48, Maj, 0, 0}}, {8, {45, Min, 0, 0}}});
    creator.ConvertAll();
    EXPECT_EQ(Key(0, 0, true), 64);
    EXPECT_EQ(Key(30, 0, false), 64);
    EXPECT_EQ(Key(2 * Beat, 0, true), 67);
    EXPECT_EQ(Key(2 * Beat + 10, 0, false), 67);
    EXPECT_EQ(Key(Beat, 9, true), 38);  // drums stay
    EXPECT_TRUE(state.ConvertedFlag);
    EXPECT_EQ(t.session->Style().style.StyleModified, 1);
}

TEST_F(ConversionTest, NotesInTheLastFourTicksOfABeatFollowTheNextBeatsChord) {
    CreatorMaterial().Note(0, 57, 19, 2).Note(0, 57, 20, 2).Into(Work(), Measure);
    Chords({{4, {48, Maj, 0, 0}}, {8, {45, Min, 0, 0}}});
    creator.ConvertAll();
    EXPECT_EQ(Key(19, 0, true), 55);   // A under C major snaps to G
    EXPECT_EQ(Key(20, 0, true), 60);   // A under A minor becomes C
}

TEST_F(ConversionTest, ModeZeroKeepsTheFirstChordAndAdjustKeepsAVoiceInItsOctave) {
    CreatorMaterial().Note(0, 62, 0, 10).Note(0, 57, Measure, 10).Into(Work(), 2 * Measure);
    Chords({{4, {50, Min, 0, 0}}, {20, {45, Min, 0, 0}}});
    state.Conversion.Mode = ConvertMode::NoneNC;
    creator.ConvertAll();
    EXPECT_EQ(Key(0, 0, true), 60);        // D minor's shift of 2
    EXPECT_EQ(Key(Measure, 0, true), 55);  // still the shift of D, not A's

    // Mode 5 with Adjust: a C on 48, then A minor's E (→ G 67) lies more than 12 above it.
    CreatorMaterial().Note(0, 48, 0, 10).Note(0, 64, Measure, 10).Into(Work(), 2 * Measure);
    Chords({{4, {48, Maj, 0, 0}}, {20, {45, Min, 0, 0}}});
    state.ConvertedFlag = false;
    state.Conversion.Mode = ConvertMode::AllNotes;
    creator.ConvertAll();
    EXPECT_EQ(Key(Measure, 0, true), 55);
    EXPECT_EQ(Key(Measure + 10, 0, false), 55);
    state.Conversion.Adjust = false;
    creator.ConvertAll();  // converts the original again, not the converted material
    EXPECT_EQ(Key(Measure, 0, true), 67);
}

TEST_F(ConversionTest, ConvertMeasuresAsksAboutItsRangeAndNoChangesNothing) {
    CreatorMaterial().Note(0, 62, 0, 10).Note(0, 62, Measure, 10).Note(0, 62, 2 * Measure, 10).Into(Work(), 3 * Measure);
    Chords({{4, {50, Min, 0, 0}}});
    state.StyleRange = {2, 1, 2};
    const auto before = Bytes();
    t.prompter->AnswerNo();
    creator.ConvertMeasures();
    EXPECT_EQ(t.prompter->Shown().back(), "Modify Measures 2 - 2");
    EXPECT_EQ(Bytes(), before);
    EXPECT_FALSE(state.ConvertedFlag);

    t.prompter->AnswerYes();
    creator.ConvertMeasures();
    EXPECT_EQ(Key(0, 0, true), 62);
    EXPECT_EQ(Key(Measure, 0, true), 60);
    EXPECT_EQ(Key(2 * Measure, 0, true), 62);

    state.StyleRange = {3, 1, 0};
    t.prompter->AnswerYes();
    creator.ConvertMeasures();
    EXPECT_EQ(t.prompter->Shown().back(), "Modify all measures, starting at measure 3");
    EXPECT_EQ(Key(2 * Measure, 0, true), 60);

    state.StyleRange = {9, 1, 0};
    creator.ConvertMeasures();
    EXPECT_EQ(t.prompter->Shown().back(), "Measures 1 - 3 available for stylecreating !");
}

TEST_F(ConversionTest, ChangedGeneratorSettingsAskForNewChordsFirst) {
    CreatorMaterial().Chord(0, {50, 62, 65, 69}, 0, 90).Into(Work(), Measure);
    Chords({{4, {48, Maj, 0, 0}}});
    state.Generator.IntervalBeats = 2;  // differs from the stored settings code
    state.StyleRange = {1, 1, 1};
    t.prompter->AnswerYes();  // "Generate new Chords ?"
    t.prompter->AnswerYes();  // "Modify Measures 1 - 1"
    creator.ConvertMeasures();
    ASSERT_GE(t.prompter->Shown().size(), 2u);
    EXPECT_EQ(t.prompter->Shown()[0], "Generate new Chords ?");
    EXPECT_EQ(Memory().RecordAt(4).ChordType, Min);  // D minor found, so D F A became C E G
    EXPECT_EQ(Key(0, 0, true), 48);
    EXPECT_EQ(Key(0, 0, true) % 12, 0);
}

TEST_F(ConversionTest, RestoreOriginalAsksAndBringsBackTheMaterialAsImported) {
    CreatorMaterial().Chord(0, {57, 60, 64}, 0, 90).Into(Work(), Measure);
    Chords({{4, {45, Min, 0, 0}}});
    const auto original = Bytes();
    creator.RestoreOriginal(true, false);
    EXPECT_TRUE(t.prompter->Shown().empty());  // nothing to restore before a conversion
    creator.ConvertAll();
    const auto converted = Bytes();
    ASSERT_NE(converted, original);
    t.prompter->AnswerNo();
    creator.RestoreOriginal(true, false);
    EXPECT_EQ(t.prompter->Shown().back(), "Undo all conversions ?");
    EXPECT_EQ(Bytes(), converted);
    t.prompter->AnswerYes();
    creator.RestoreOriginal(true, false);
    EXPECT_EQ(Bytes(), original);
    EXPECT_FALSE(state.ConvertedFlag);
}

}  // namespace
}  // namespace chordella::testing
