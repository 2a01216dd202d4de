// The channel-table rules at play time, as tables: a phrase written over CMaj7 on C (the
// scale C D E F G A B) moved to every chord type on C by the six common transposition tables;
// then the note transposition rules (root transposition with its high key, root fixed), the
// note limits, the note ranges of newer entries and the minor family's fifth.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/NativeTransposition.h"

namespace chordella::engine {
namespace {

using data::NoteRule;
using data::NoteTable;

constexpr int Maj7Kind = 2;
constexpr int C3 = 48;

std::string NoteName(int note) {
    static const char* names[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    return names[note % 12] + std::to_string(note / 12 - 1);
}

data::NativeChannelRules Rules(NoteTable table, NoteRule rule = NoteRule::RootTransposition, int highKey = 11,
                               int sourceKind = Maj7Kind) {
    data::NativeChannelRules rules;
    rules.Active = true;
    rules.SourceKind = static_cast<std::uint8_t>(sourceKind);
    for (data::NoteRangeRules& range : rules.Ranges) {
        range.Table = table;
        range.Rule = rule;
        range.HighKey = static_cast<std::uint8_t>(highKey);
    }
    return rules;
}

std::string Played(const std::vector<int>& notes, const data::NativeChannelRules& rules, int root, int type) {
    std::string text;
    for (int note : notes) text += (text.empty() ? "" : " ") + NoteName(NativeTranspose(note, rules, root, type));
    return text;
}

// C4 D4 E4 F4 G4 A4 B4 as played over each chord type on C (1 maj … 17 sus7): by the Melody
// table (the Bass table plays the same) and by the Chord table.
struct TypeRow { const char* Melody; const char* Chord; };

const TypeRow TypeRows[] = {
    {"C4 D4 E4 F4 G4 A4 B4", "C4 D4 E4 F4 G4 A4 C5"},          // maj
    {"C4 D4 D#4 F4 G4 A4 A#4", "C4 D4 D#4 F4 G4 A4 C5"},       // min
    {"C4 D4 E4 F4 G4 A4 A#4", "C4 D4 E4 F4 G4 A4 A#4"},        // 7th
    {"C4 D4 D#4 F4 G4 A4 A#4", "C4 D4 D#4 F4 G4 A4 A#4"},      // min7
    {"C4 D4 D#4 F4 F#4 G#4 A4", "C4 D4 D#4 F4 F#4 G#4 C5"},    // dim
    {"C4 D4 F4 F4 G4 A4 B4", "C4 D4 F4 F4 G4 A4 C5"},          // sus4
    {"C4 D4 E4 F4 G4 A4 B4", "C4 D4 E4 F4 G4 A4 C5"},          // add9
    {"C4 D4 E4 F4 F#4 A4 B4", "C4 D4 E4 F4 F#4 A4 C5"},        // 5b
    {"C4 D4 E4 F4 G4 A4 B4", "C4 D4 E4 F4 G4 A4 B4"},          // M7
    {"C4 D4 E4 F#4 G#4 A4 B4", "C4 D4 E4 F#4 G#4 A4 C5"},      // aug
    {"C4 D4 E4 F4 G4 A4 B4", "C4 D4 E4 F4 G4 A4 A4"},          // 6th
    {"C4 D4 D#4 F4 G4 A4 B4", "C4 D4 D#4 F4 G4 A4 B4"},        // mM7
    {"C4 D4 D#4 F4 G4 A4 A#4", "C4 D4 D#4 F4 G4 A4 A4"},       // min6
    {"C4 D4 D#4 F4 G4 A4 A#4", "C4 D4 D#4 F4 G4 A4 C5"},       // min9
    {"C4 D4 D#4 F4 F#4 G#4 A#4", "C4 D4 D#4 F4 F#4 G#4 A#4"},  // m5b7
    {"C4 D4 E4 F4 G#4 A4 A#4", "C4 D4 E4 F4 G#4 A4 A#4"},      // aug7
    {"C4 D4 F4 F4 G4 A4 A#4", "C4 D4 F4 F4 G4 A4 A#4"},        // sus7
};

TEST(NativeTranspositionTest, EveryTableMovesTheScaleOfCMaj7ToEveryChordTypeAsItsTableSays) {
    const std::vector<int> scale{60, 62, 64, 65, 67, 69, 71};
    const std::string unchanged = "C4 D4 E4 F4 G4 A4 B4";
    for (int type = 1; type <= 17; ++type) {
        SCOPED_TRACE("chord type " + std::to_string(type));
        const TypeRow& row = TypeRows[type - 1];
        // The minor scales change only the chords with a minor third.
        const bool minorThird = type == 2 || type == 4 || type == 5 || (type >= 12 && type <= 15);
        EXPECT_EQ(Played(scale, Rules(NoteTable::Bypass), C3, type), unchanged);
        EXPECT_EQ(Played(scale, Rules(NoteTable::Melody), C3, type), row.Melody);
        EXPECT_EQ(Played(scale, Rules(NoteTable::Bass), C3, type), row.Melody);
        EXPECT_EQ(Played(scale, Rules(NoteTable::Chord), C3, type), row.Chord);
        EXPECT_EQ(Played(scale, Rules(NoteTable::MelodicMinor), C3, type),
                  minorThird ? "C4 D4 D#4 F4 G4 A4 B4" : unchanged);
        EXPECT_EQ(Played(scale, Rules(NoteTable::HarmonicMinor), C3, type),
                  minorThird ? "C4 D4 D#4 F4 G4 G#4 B4" : unchanged);
    }
}

TEST(NativeTranspositionTest, ThePhraseSoundsAsWrittenOverItsOwnChordWhateverTheTable) {
    const std::vector<int> phrase{40, 52, 55, 59, 62, 66, 68, 71, 73};
    for (int table = 0; table < data::NoteTableCount; ++table) {
        for (NoteRule rule : {NoteRule::RootTransposition, NoteRule::RootFixed}) {
            const auto rules = Rules(static_cast<NoteTable>(table), rule);
            for (int note : phrase) EXPECT_EQ(NativeTranspose(note, rules, C3, 9), note) << table << " " << note;
        }
    }
}

TEST(NativeTranspositionTest, RootTranspositionKeepsTheShapeAndTurnsDownAboveTheHighKey) {
    // C E G B over F, G and B major 7: up to the high key the phrase goes up, above it down.
    const std::vector<int> voicing{60, 64, 67, 71};
    struct Case { int Root; int HighKey; const char* Expected; } cases[] = {
        {C3 + 5, 5, "F4 A4 C5 E5"},    // F: up, the high key itself still up
        {C3 + 7, 5, "G3 B3 D4 F#4"},   // G above the high key F: down
        {C3 + 7, 7, "G4 B4 D5 F#5"},
        {C3 + 11, 11, "B4 D#5 F#5 A#5"},
        {C3 + 1, 0, "C#3 F3 G#3 C4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Played(voicing, Rules(NoteTable::Melody, NoteRule::RootTransposition, c.HighKey), c.Root, 9),
                  c.Expected)
            << NoteName(c.Root) << " high key " << c.HighKey;
}

TEST(NativeTranspositionTest, RootFixedKeepsEveryNoteInItsOctaveAndBypassKeepsItWhereItIs) {
    const auto chord = Rules(NoteTable::Chord, NoteRule::RootFixed, 11, 0);
    EXPECT_EQ(Played({48, 52, 55}, chord, C3 + 5, 1), "F3 A3 C3");   // the chord of F in the octave of C3
    EXPECT_EQ(Played({52, 55, 59}, Rules(NoteTable::Chord, NoteRule::RootFixed), C3 + 9, 4), "C3 E3 G3");   // third, fifth, seventh of A minor 7
    EXPECT_EQ(Played({48, 52, 55, 59}, Rules(NoteTable::Bypass, NoteRule::RootFixed), C3 + 7, 3), "C3 E3 G3 B3");
    EXPECT_EQ(Played({48, 52, 55, 59}, Rules(NoteTable::Bypass), C3 + 2, 2), "D3 F#3 A3 C#4");
}

TEST(NativeTranspositionTest, NotesOutsideTheLimitsMoveByOctavesIntoThem) {
    auto bass = Rules(NoteTable::Bass);
    for (data::NoteRangeRules& range : bass.Ranges) {
        range.NoteLow = 28;   // E1
        range.NoteHigh = 55;  // G3
    }
    EXPECT_EQ(Played({36, 43, 48}, bass, C3 + 9, 2), "A2 E3 A2");   // A3 is above G3: folded down
    EXPECT_EQ(Played({24, 60}, bass, C3, 1), "C2 C3");
    EXPECT_EQ(InsideLimits(130, 0, 127), 118);
    EXPECT_EQ(InsideLimits(70, 60, 64), 58) << "a range narrower than an octave: the nearest octave below";
}

TEST(NativeTranspositionTest, NewerEntriesPlayEachNoteRangeByItsOwnRules) {
    auto rules = Rules(NoteTable::Melody);
    rules.MiddleLow = 48;
    rules.MiddleHigh = 71;
    rules.Ranges[0].Table = NoteTable::Bypass;
    rules.Ranges[0].Rule = NoteRule::RootFixed;
    rules.Ranges[2].NoteHigh = 80;
    // Over A minor 7: the low C stays, the middle E becomes C, the high B becomes G (then the limit).
    EXPECT_EQ(Played({36, 64, 83}, rules, C3 + 9, 4), "C2 C5 G5");
}

TEST(NativeTranspositionTest, TheFifthTablesMoveThePerfectFifthOfAugmentedAndDiminishedChords) {
    struct Case {
        NoteTable Table;
        int Type;
        const char* Expected;   // C E G A B
    } cases[] = {
        {NoteTable::MelodicMinor, 5, "C4 D#4 G4 A4 B4"},
        {NoteTable::MelodicMinor5th, 5, "C4 D#4 F#4 A4 B4"},
        {NoteTable::HarmonicMinor5th, 10, "C4 E4 G#4 A4 B4"},
        {NoteTable::NaturalMinor, 2, "C4 D#4 G4 G#4 A#4"},
        {NoteTable::NaturalMinor5th, 15, "C4 D#4 F#4 G#4 A#4"},
        {NoteTable::Dorian, 4, "C4 D#4 G4 A4 A#4"},
        {NoteTable::Dorian5th, 16, "C4 E4 G#4 A4 B4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Played({60, 64, 67, 69, 71}, Rules(c.Table), C3, c.Type), c.Expected) << static_cast<int>(c.Table);
}

TEST(NativeTranspositionTest, APhraseWrittenOverAMinorChordIsRaisedToMajorByTheMinorTables) {
    constexpr int Minor7Kind = 10;
    // A phrase in C minor (C Eb G Bb) under C major 7.
    EXPECT_EQ(Played({60, 63, 67, 70}, Rules(NoteTable::Dorian, NoteRule::RootTransposition, 11, Minor7Kind), C3, 9),
              "C4 E4 G4 B4");
    EXPECT_EQ(Played({60, 63, 67, 70}, Rules(NoteTable::Chord, NoteRule::RootTransposition, 11, Minor7Kind), C3, 9),
              "C4 E4 G4 B4");
}

TEST(NativeTranspositionTest, ARootRetriggerGoesToTheNearestRootInsideTheLimits) {
    data::NoteRangeRules range;
    EXPECT_EQ(RootNear(64, C3 + 5, range), 65);
    EXPECT_EQ(RootNear(64, C3, range), 60);
    EXPECT_EQ(RootNear(70, C3 + 4, range), 64) << "six semitones either way: down";
    range.NoteHigh = 62;
    EXPECT_EQ(RootNear(64, C3 + 5, range), 53);
}

}  // namespace
}  // namespace chordella::engine
