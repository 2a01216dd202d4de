// The editor's edits as tables of chord memories before and after, refusals included: a
// refused edit leaves the memory as it was and says why.
#include <gtest/gtest.h>

#include <functional>

#include "composer/ChordMemoryEditor.h"
#include "composer/SongNotation.h"

namespace chordella::composer {
namespace {

using test::Notation;
using test::Song;

struct EditCase {
    const char* Name;
    const char* Before;
    std::function<EditOutcome(ChordMemoryEditor&)> Edit;
    const char* After;    // equal to Before when refused
    const char* Message;  // "" when done
};

EditPlace At(int measure, int beat = 1, bool playing = false) { return {measure, beat, 16, playing}; }

void RunTable(const std::vector<EditCase>& cases) {
    for (const EditCase& edit : cases) {
        SCOPED_TRACE(edit.Name);
        data::ChordMemory memory = Song(edit.Before);
        ChordMemoryEditor editor(memory);
        const EditOutcome outcome = edit.Edit(editor);
        EXPECT_EQ(Notation(memory), edit.After);
        EXPECT_EQ(outcome.Message, edit.Message);
        EXPECT_EQ(outcome.Changed, std::string(edit.Message).empty());
        // Nothing beyond the song is left behind.
        for (int position = memory.ChordMemoryLength; position < data::ChordMemoryPositionLimit; ++position)
            ASSERT_EQ(memory.Bytes[static_cast<std::size_t>(position)], 0) << "at " << position;
    }
}

constexpr const char* ThreeBars = "C . . G | F . . . | Am . Dm G7 | STOP . . .";

TEST(ChordMemoryEditor, InsertsAndDeletesMeasuresOrRefuses) {
    RunTable({
        {"insert before measure 2 leaves an empty measure", ThreeBars,
         [](auto& e) { return e.InsertMeasure(At(2)); },
         "C . . G | . . . . | F . . . | Am . Dm G7 | STOP . . .", ""},
        {"insert before the STOP measure adds a measure before the ending", ThreeBars,
         [](auto& e) { return e.InsertMeasure(At(4)); },
         "C . . G | F . . . | Am . Dm G7 | . . . . | STOP . . .", ""},
        {"insert past the end", ThreeBars, [](auto& e) { return e.InsertMeasure(At(9)); }, ThreeBars,
         CantInsertMeasure},
        {"insert at measure 0", ThreeBars, [](auto& e) { return e.InsertMeasure(At(0)); }, ThreeBars,
         CantInsertMeasure},
        {"insert while the style plays", ThreeBars, [](auto& e) { return e.InsertMeasure(At(1, 1, true)); },
         ThreeBars, StopStyleFirst},
        {"delete measure 2", ThreeBars, [](auto& e) { return e.DeleteMeasure(At(2)); },
         "C . . G | Am . Dm G7 | STOP . . .", ""},
        {"delete the STOP measure", ThreeBars, [](auto& e) { return e.DeleteMeasure(At(4)); }, ThreeBars,
         CantClearMeasure},
        {"delete past the end", ThreeBars, [](auto& e) { return e.DeleteMeasure(At(5)); }, ThreeBars,
         CantClearMeasure},
        {"delete the only measure before the STOP", "C . . . | STOP . . .",
         [](auto& e) { return e.DeleteMeasure(At(1)); }, "STOP . . .", ""},
        {"delete from a song of one measure", "STOP . . .", [](auto& e) { return e.DeleteMeasure(At(1)); },
         "STOP . . .", CantClearMeasure},
    });
}

TEST(ChordMemoryEditor, InsertsAndDeletesBeatsOrRefuses) {
    RunTable({
        {"insert a beat grows the song by one beat", ThreeBars, [](auto& e) { return e.InsertBeat(At(2, 2)); },
         "C . . G | F . . . | . Am . Dm | G7 STOP . . | .", ""},
        {"insert at the last record", "C . . . | STOP . . .", [](auto& e) { return e.InsertBeat(At(2, 4)); },
         "C . . . | STOP . . . | .", ""},
        {"insert past the end", ThreeBars, [](auto& e) { return e.InsertBeat(At(6, 1)); }, ThreeBars, CantInsertBeat},
        {"insert at beat 5 of 4", ThreeBars, [](auto& e) { return e.InsertBeat(At(1, 5)); }, ThreeBars,
         CantInsertBeat},
        {"delete a beat", ThreeBars, [](auto& e) { return e.DeleteBeat(At(1, 2)); },
         "C . G F | . . . Am | . Dm G7 STOP | . . .", ""},
        {"delete the STOP beat", ThreeBars, [](auto& e) { return e.DeleteBeat(At(4, 1)); }, ThreeBars,
         CantClearBeat},
        {"delete past the end", ThreeBars, [](auto& e) { return e.DeleteBeat(At(6, 1)); }, ThreeBars,
         CantClearBeat},
        {"delete while the style plays", ThreeBars, [](auto& e) { return e.DeleteBeat(At(1, 1, true)); },
         ThreeBars, StopStyleFirst},
    });
}

TEST(ChordMemoryEditor, CopiesMeasuresOrRefuses) {
    RunTable({
        {"copy 3 … 4 to 1 moves the song and copies the moved measures", "C . . . | F . . . | G . . . | Am . . . | STOP . . .",
         [](auto& e) { return e.CopyMeasures(3, 4, 1, At(1)); },
         "G . . . | Am . . . | C . . . | F . . . | G . . . | Am . . . | STOP . . .", ""},
        {"copy 1 … 2 before the STOP measure", "C . . . | F . . . | STOP . . .",
         [](auto& e) { return e.CopyMeasures(1, 2, 3, At(1)); },
         "C . . . | F . . . | C . . . | F . . . | STOP . . .", ""},
        {"copy a loop with its marks", "C+L2 . . . | F . . LE | STOP . . .",
         [](auto& e) { return e.CopyMeasures(1, 2, 3, At(1)); },
         "C+L2 . . . | F . . LE | C+L2 . . . | F . . LE | STOP . . .", ""},
        {"copy 2 … 5 to 3 (onto itself)", "C . . . | F . . . | G . . . | Am . . . | Dm . . . | STOP . . .",
         [](auto& e) { return e.CopyMeasures(2, 5, 3, At(1)); },
         "C . . . | F . . . | G . . . | Am . . . | Dm . . . | STOP . . .", CantCopyMeasures},
        {"copy with first after last", ThreeBars, [](auto& e) { return e.CopyMeasures(3, 2, 1, At(1)); }, ThreeBars,
         CantCopyMeasures},
        {"copy the STOP measure", ThreeBars, [](auto& e) { return e.CopyMeasures(3, 4, 1, At(1)); }, ThreeBars,
         CantCopyMeasures},
        {"copy to past the end", ThreeBars, [](auto& e) { return e.CopyMeasures(1, 1, 9, At(1)); }, ThreeBars,
         CantCopyMeasures},
        {"copy in an empty song", "", [](auto& e) { return e.CopyMeasures(1, 1, 2, At(1)); }, "",
         ChordMemoryIsEmpty},
    });
}

TEST(ChordMemoryEditor, CreatesMeasuresInAnEmptySongFromACountOrAListOfChords) {
    data::ChordMemory memory;
    data::ClearChordMemory(memory);
    ChordMemoryEditor editor(memory);
    ASSERT_TRUE(editor.CreateMeasures(32, 16));
    EXPECT_EQ(memory.ChordMemoryLength, 16 * 32 + 4 + 16);
    EXPECT_EQ(memory.RecordAt(516).CommandCode, data::CommandStop);
    EXPECT_EQ(memory.RecordAt(4).CommandCode, 0) << "the empty song's STOP is gone";
    EXPECT_EQ(editor.CreateMeasures(4, 16).Message, WrongMeasureValue) << "only an empty song";

    struct Entry {
        const char* Text;
        bool TwelveBars;
        int Measures;  // -1: refused
    };
    for (const Entry& entry : {Entry{"20", true, 12}, Entry{"5", true, 12}, Entry{"25", true, 24},
                               Entry{"0", false, 0}, Entry{" 8 ", false, 8}, Entry{"-1", false, -1},
                               Entry{"eight", false, -1}, Entry{"750", false, -1}, Entry{"749", false, 749},
                               Entry{"99999999999", false, -1}}) {
        SCOPED_TRACE(entry.Text);
        data::ClearChordMemory(memory);
        editor.SetTwelveBarMode(entry.TwelveBars);
        const EditOutcome outcome = editor.CreateMeasures(std::string(entry.Text), 16);
        if (entry.Measures < 0) {
            EXPECT_EQ(outcome.Message, WrongMeasureValue);
            EXPECT_EQ(memory.ChordMemoryLength, 4);
            EXPECT_EQ(memory.RecordAt(4).CommandCode, data::CommandStop);
        } else {
            EXPECT_EQ(data::MeasureCount(memory.ChordMemoryLength, 16), entry.Measures == 0 ? 0 : entry.Measures + 1);
            EXPECT_LT(memory.ChordMemoryLength, data::ChordMemoryPositionLimit + 1);
        }
    }

    // From a list of chords, for the generator.
    data::ClearChordMemory(memory);
    const data::BeatRecord c = test::TokenRecord("C"), g = test::TokenRecord("G7");
    const data::BeatRecord beats[] = {c, {}, {}, {}, g, {}, test::TokenRecord("STOP")};
    ASSERT_TRUE(editor.CreateMeasuresFrom(beats, 16));
    EXPECT_EQ(Notation(memory), "C . . . | G7 . . . | STOP . . .") << "a STOP among the chords is dropped";
}

TEST(ChordMemoryEditor, EditsAtTheChordMemoryLimitAreRefused) {
    data::ChordMemory memory;
    data::ClearChordMemory(memory);
    ChordMemoryEditor editor(memory);
    ASSERT_TRUE(editor.CreateMeasures(748, 16));  // length 11988: one measure less than the limit
    const data::ChordMemory full = memory;
    EXPECT_EQ(editor.InsertMeasure(At(1)).Message, CantInsertMeasure);
    EXPECT_EQ(editor.CopyMeasures(1, 1, 2, At(1)).Message, CantCopyMeasures);
    EXPECT_EQ(memory.Bytes, full.Bytes);
    ASSERT_TRUE(editor.InsertBeat(At(1)));
    ASSERT_TRUE(editor.InsertBeat(At(1)));
    ASSERT_TRUE(editor.InsertBeat(At(1)));
    EXPECT_EQ(editor.InsertBeat(At(1)).Message, CantInsertBeat) << "the length stays below 12004";
    EXPECT_LT(memory.ChordMemoryLength, data::ChordMemoryPositionLimit);
}

TEST(ChordMemoryEditor, UndoRestoresTheSnapshotOnce) {
    data::ChordMemory memory = Song(ThreeBars);
    ChordMemoryEditor editor(memory);
    int row = 0;
    EXPECT_EQ(editor.Undo(row).Message, NothingToUndo);
    ASSERT_TRUE(editor.DeleteMeasure(At(2)));
    // A refused edit keeps the snapshot of the edit before it.
    EXPECT_FALSE(editor.CopyMeasures(2, 1, 1, At(3)));
    EXPECT_TRUE(editor.CanUndo());
    ASSERT_TRUE(editor.Undo(row));
    EXPECT_EQ(Notation(memory), ThreeBars);
    EXPECT_EQ(row, 2);
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(editor.Undo(row).Message, NothingToUndo);
    EXPECT_TRUE(editor.EditorModified());
}

TEST(ChordMemoryEditor, WritesCellsOnlyInsideTheSong) {
    data::ChordMemory memory = Song(ThreeBars);
    ChordMemoryEditor editor(memory);
    EXPECT_TRUE(editor.SetRecord(At(2, 3), test::TokenRecord("Bb")));
    EXPECT_FALSE(editor.SetRecord(At(4, 2), test::TokenRecord("Bb"))) << "beats after the STOP are past the end";
    EXPECT_FALSE(editor.SetRecord(At(4, 1), test::TokenRecord("Bb"))) << "the STOP stays";
    EXPECT_EQ(Notation(memory), "C . . G | F . Bb . | Am . Dm G7 | STOP . . .");
}

}  // namespace
}  // namespace chordella::composer
