// Naming held keys as a chord, live and in the style creator's analysis.
#include "chords/RecogniseChord.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "chords/ChordNames.h"

namespace chordella::chords {
namespace {

constexpr int C = 0, D = 2, E = 4, F = 5, A = 9, B = 11;

struct Recognition {
    HeldNoteList list;
    ChordState state;
    core::ChordPair chord;  // what the last call named

    Recognition() { SetFirstKey(state, 36); }  // a zone starting on C: the root is 36 + pitch class

    void Hold(std::initializer_list<int> notes) {
        list.Clear();
        for (const int note : notes) list.Add(note);
    }
    void Live(std::initializer_list<int> notes) {
        Hold(notes);
        chord = RecogniseChord(list, state, AllTypesIndex, RecogniseMode::Live);
    }
    void Analyse(std::initializer_list<int> notes, int divisor) {
        Hold(notes);
        chord = RecogniseChord(list, state, AllTypesIndex, RecogniseMode::Analysis, divisor);
    }
    std::string Name() { return std::string(ChordName(state, chord.Root, chord.Type).View()); }
};

struct HeldChord { std::initializer_list<int> Notes; const char* Expected; };

TEST(RecogniseChord, NamesHeldKeysByTheBestMatchingRootAndType) {
    const HeldChord cases[] = {
        {{60, 64, 67}, "C maj"},
        {{76, 43, 60}, "C maj"},  // any order, any octave
        {{60, 64, 67, 70}, "C 7th"},
        {{60, 64, 67, 71}, "C M7"},
        {{60, 64, 67, 69}, "C 6th"},
        {{60, 62, 64, 67}, "C add9"},
        {{60, 65, 67}, "C sus4"},
        {{62, 66, 69}, "D maj"},
        {{69, 72, 76}, "A min"},
        {{62, 65, 69, 72}, "D min7"},
        {{65, 69, 72, 74}, "D min7"},  // the same pitch classes: D is tried before F
        {{59, 62, 65, 69}, "D min6"},  // D min6 is found before B m5b7
        {{59, 62, 65}, "B dim"},
        {{60, 64}, "C aug"},  // C, E and the doubled C score three
    };
    for (const auto& chord : cases) {
        Recognition r;
        r.Live(chord.Notes);
        EXPECT_EQ(r.Name(), chord.Expected);
        EXPECT_GE(r.chord.Root, 36);
        EXPECT_LE(r.chord.Root, 47);
    }
}

TEST(RecogniseChord, PlacesTheRootOnTheLowestChordZoneKeyOfItsPitchClassAndOnTheKeyboard) {
    Recognition r;
    SetFirstKey(r.state, 28);  // an E
    r.Live({60, 64, 67});
    EXPECT_EQ(r.chord.Root, 36);
    r.Live({64, 68, 71});
    EXPECT_EQ(r.chord.Root, 28);
    r.Live({62, 66, 69});
    EXPECT_EQ(r.chord.Root, 38);

    // Placed roots stay playable at the edges of the keyboard.
    SetFirstKey(r.state, 0);
    r.Live({60, 64, 67});
    EXPECT_EQ(r.chord.Root, 12) << "a root of 0 would mean no chord";
    SetFirstKey(r.state, 127);
    for (int root = 0; root < 12; ++root) {
        r.Live({root, root + 4, root + 7});
        EXPECT_LE(r.chord.Root, 127);
        EXPECT_EQ(PitchClass(r.chord.Root), root);
    }
}

TEST(RecogniseChord, NamesNothingWithFewerThanTwoNotesAndTriesOnlyTypesUpToTheHighestIndexGiven) {
    Recognition r;
    r.Live({});
    EXPECT_EQ(r.chord.Root, 0);
    r.Live({D + 60});
    EXPECT_EQ(r.chord.Root, 0);
    EXPECT_EQ(r.chord.Type, 0);
    // The single note is remembered as a major chord on it.
    EXPECT_EQ(r.list.BestRoot, D);
    EXPECT_EQ(r.list.BestType, 1);

    // Only types up to the highest index given are tried.
    r.Hold({60, 64, 67, 70});
    r.chord = RecogniseChord(r.list, r.state, 1, RecogniseMode::Live);  // "maj" and "min" only
    EXPECT_EQ(r.Name(), "C maj");
    r.chord = RecogniseChord(r.list, r.state, 99, RecogniseMode::Live);  // beyond the table: all types
    EXPECT_EQ(r.Name(), "C 7th");
}

TEST(RecogniseChord, AnalysisCountsEveryOccurrenceAndEmptiesTheList) {
    Recognition r;
    r.Live({A + 48, C + 60, C + 72, C + 84, E + 60, E + 72});
    EXPECT_EQ(r.Name(), "A min") << "live play counts each held pitch class once";

    r.Analyse({A + 48, C + 60, C + 72, C + 84, E + 60, E + 72}, 500);
    EXPECT_EQ(r.Name(), "C aug") << "three Cs and two Es outweigh the single A";
    EXPECT_EQ(r.list.Count, 0);
    EXPECT_EQ(r.list.Notes[0], 0);
}

TEST(RecogniseChord, AnalysisKeepsThePreviousChordUnlessACandidateBeatsTheThresholdAndLeavesASingleNote) {
    Recognition r;
    r.Analyse({60, 64, 67}, 1);
    EXPECT_EQ(r.Name(), "C maj");

    // Five different notes: no chord scores above 5 with divisor 1.
    r.Analyse({62, 66, 64, 65, 71}, 1);
    EXPECT_EQ(r.Name(), "C maj");
    EXPECT_EQ(r.list.Count, 0);

    r.Analyse({62, 66, 64, 65, 71}, 2);
    EXPECT_NE(r.Name(), "C maj") << "a lower threshold lets the best candidate through";

    Recognition single;
    single.Analyse({64}, 4);
    EXPECT_EQ(single.list.Count, 1) << "a single note is left for the next interval";
    EXPECT_EQ(single.chord.Type, 0);
}

TEST(RecogniseChord, InAnalysisASeventhTakesOverItsTriadAtAnEqualScore) {
    Recognition r;
    r.Analyse({60, 64, 67}, 1);
    ASSERT_EQ(r.Name(), "C maj");
    r.Analyse({60, 64, 67, 70}, 1);  // the seventh scores 4, no more than the threshold
    EXPECT_EQ(r.Name(), "C 7th");

    r.Analyse({62, 65, 69}, 1);
    ASSERT_EQ(r.Name(), "D min");
    r.Analyse({62, 65, 69, 72}, 1);
    EXPECT_EQ(r.Name(), "D min7");

    // At another root the threshold holds: the previous chord stays.
    r.Analyse({60, 64, 67, 70}, 1);
    EXPECT_EQ(r.Name(), "D min7");
}

TEST(HeldNoteList, KeepsPitchClassesRemovesEveryEntryOfAReleasedOneAndNeverGrowsBeyondItsCapacity) {
    HeldNoteList list;
    for (const int note : {60, 64, 72, 67, -1}) list.Add(note);
    ASSERT_EQ(list.Count, 5);
    EXPECT_EQ(list.Notes[4], B);
    list.Remove(48);  // every C goes
    ASSERT_EQ(list.Count, 3);
    EXPECT_EQ(list.Notes[0], E);
    EXPECT_EQ(list.Notes[1], 7);
    EXPECT_EQ(list.Notes[2], B);
    EXPECT_EQ(list.Notes[3], 0);
    list.Clear();
    EXPECT_TRUE(list.Empty());
    for (int i = 0; i < HeldNoteList::Capacity + 50; ++i) list.Add(i);
    EXPECT_EQ(list.Count, HeldNoteList::Capacity);
    EXPECT_EQ(list.Notes[HeldNoteList::Capacity], 0);
}

TEST(RecogniseChord, ReadsNoFurtherThanTheListWhateverItsCountSays) {
    Recognition r;
    r.list.Count = 30000;
    r.list.Notes.fill(200);  // no pitch classes at all
    r.list.Notes[0] = C;
    r.list.Notes[1] = E;
    r.list.Notes[2] = 7;
    r.chord = RecogniseChord(r.list, r.state, AllTypesIndex, RecogniseMode::Live);
    EXPECT_EQ(r.Name(), "C maj");
    r.list.Count = -4;
    r.chord = RecogniseChord(r.list, r.state, AllTypesIndex, RecogniseMode::Live);
    EXPECT_EQ(r.chord.Type, 0);
}

}  // namespace
}  // namespace chordella::chords
