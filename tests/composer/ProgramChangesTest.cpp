// Automatic program changes: where they go, what they hold, and their removal.
#include <gtest/gtest.h>

#include <map>

#include "SongNotation.h"
#include "composer/ChordMemoryEditor.h"
#include "composer/ProgramChanges.h"

namespace chordella::composer {
namespace {

data::ChordMemory SongOf(int measures) {
    data::ChordMemory memory;
    data::ClearChordMemory(memory);
    ChordMemoryEditor editor(memory);
    EXPECT_TRUE(editor.CreateMeasures(measures, 16));
    return memory;
}

// Position → program of every program change in the song.
std::map<int, int> Programs(const data::ChordMemory& memory) {
    std::map<int, int> programs;
    for (int position = 4; position < memory.ChordMemoryLength; position += 4)
        if (memory.RecordAt(position).CommandCode == data::CommandMelodyProgram)
            programs[position] = memory.RecordAt(position).CommandParam;
    return programs;
}

// A random source that counts up: 0, 1, 2, … (each below its bound).
struct CountingRandom {
    int next = 0;
    int operator()(int bound) { return next++ % bound; }
};

TEST(ProgramChanges, GoOnTheLastBeatOfMeasure1AndEveryIntervalReturningAtTheEnd) {
    struct Case {
        const char* Name;
        ProgramChangeSettings Settings;
        int Measures;
        std::map<int, int> Expected;
    };
    ProgramChangeSettings every8;
    every8.EveryEightMeasures = true;
    every8.StartNumber = 40;
    ProgramChangeSettings list;
    list.ProgramList = {7, 9, 11};
    ProgramChangeSettings keys;
    keys.UsingCommandKeys = true;
    keys.CommandKey = 3;
    ProgramChangeSettings creator;
    creator.CreatorForm = 12;
    ProgramChangeSettings repeated = every8;
    repeated.CreatorRepeatFlag = true;
    for (const Case& c : {
             Case{"every 16 measures of 32, the last one near the end", {}, 32, {{16, 0}, {256, 1}, {512, 0}}},
             Case{"every 8 from the start number", every8, 20, {{16, 40}, {128, 41}, {256, 42}}},
             Case{"from a program list", list, 17, {{16, 7}, {256, 7}}},
             Case{"command keys", keys, 9, {{16, 131}}},
             Case{"the song creator's form of 12", creator, 30, {{16, 0}, {192, 1}, {384, 2}}},
             Case{"no change at measure 8 of a repeating creator song", repeated, 20, {{16, 40}, {256, 41}}},
         }) {
        SCOPED_TRACE(c.Name);
        data::ChordMemory memory = SongOf(c.Measures);
        CountingRandom random;
        const ProgramChangeOutcome outcome =
            InsertProgramChanges(memory, 16, c.Settings, [&](int bound) { return random(bound); });
        EXPECT_EQ(Programs(memory), c.Expected);
        EXPECT_EQ(outcome.Inserted, static_cast<int>(c.Expected.size()));
        EXPECT_EQ(RemoveProgramChanges(memory, 16), outcome.Inserted);
        EXPECT_TRUE(Programs(memory).empty());
    }
}

TEST(ProgramChanges, LeaveOtherCommandsAloneAndMoveALoopEndOnlyIntoAFreeBeat) {
    data::ChordMemory memory = test::Song("C . . LE | F . . LE | G . Dm+L2 LE | STOP . . .");
    ProgramChangeSettings settings;
    settings.Randomly = true;  // first draw 7: every 8 measures
    int draws = 0;
    const ProgramChangeOutcome outcome =
        InsertProgramChanges(memory, 16, settings, [&](int bound) { return draws++ == 0 ? 7 : 5 % bound; });
    EXPECT_TRUE(outcome.LoopEndMoved);
    EXPECT_EQ(test::Notation(memory), "C . LE . | F . . LE | G . Dm+L2 LE | STOP . . .");
    EXPECT_EQ(memory.RecordAt(16).CommandCode, data::CommandMelodyProgram);

    // The beat before the loop end holds the loop's start: nothing moves, nothing is inserted.
    data::ChordMemory busy = test::Song("C . Dm+L2 LE | STOP . . .");
    const ProgramChangeOutcome none = InsertProgramChanges(busy, 16, {}, [](int) { return 0; });
    EXPECT_EQ(none.Inserted, 0);
    EXPECT_FALSE(none.LoopEndMoved);
    EXPECT_EQ(test::Notation(busy), "C . Dm+L2 LE | STOP . . .");

    data::ChordMemory empty;
    data::ClearChordMemory(empty);
    EXPECT_EQ(InsertProgramChanges(empty, 16, {}, [](int) { return 0; }).Message, ChordMemoryIsEmpty);
}

TEST(ProgramChanges, SettingsEntriesAndLists) {
    std::string message;
    EXPECT_EQ(ReadProgramCount("256", message), 256);
    EXPECT_EQ(message, "");
    EXPECT_EQ(ReadProgramCount("1000", message), 128);
    EXPECT_EQ(message, WrongNumberOfPrograms);
    EXPECT_EQ(ReadBankNumber("none"), -1);
    EXPECT_EQ(ReadBankNumber("300"), 127);
    EXPECT_EQ(ReadStartNumber("x"), 0);
    EXPECT_EQ(ReadStartNumber("12"), 12);

    const std::string all = ProgramListText();
    EXPECT_TRUE(all.starts_with("000\n001\n"));
    message.clear();
    EXPECT_EQ(ReadProgramList(all, message).size(), 128u);
    EXPECT_EQ(message, "");
    EXPECT_EQ(ReadProgramList(all + "005 Extra\n", message).size(), 128u);
    EXPECT_EQ(message, WrongNumberOfEntries);
    message.clear();
    EXPECT_EQ(ReadProgramList("073 Flute\r\n\r\n019 Organ\n", message), (std::vector<int>{73, 19}));
}

}  // namespace
}  // namespace chordella::composer
