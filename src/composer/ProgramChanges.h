#pragma once
// Automatic program changes of the chord-memory editor ("Autochange program and more"):
// a program change for the melody (command 223) on the last beat of measure 1 and then every
// I measures, and their removal ("Delete all program change commands"). The program lists
// and counts of its settings. Control thread.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/ChordMemory.h"

namespace chordella::composer {

inline constexpr const char* WrongNumberOfPrograms = "Wrong number of programs (1-999)!";
inline constexpr const char* WrongNumberOfEntries = "Wrong number of entries (> 128)!";
inline constexpr int DefaultProgramCount = 128;
inline constexpr int MaxListEntries = 128;

struct ProgramChangeSettings {
    int ProgramCount = DefaultProgramCount;  // "Number of MIDI programs"
    int StartNumber = 0;                     // "Start number of MIDI programs"
    std::vector<int> ProgramList;            // "Import list of MIDI programs" (empty: none)
    bool UsingCommandKeys = false;           // "... using command keys 0-9"
    int CommandKey = 0;                      // the editor's command key value
    bool EveryEightMeasures = false;         // "    - every 8 measures"
    bool Randomly = false;                   // "... randomly"
    bool OnlyAtBeginning = false;            // "    - only at the beginning of a song"
    int CreatorForm = 0;                     // the song creator's form (8, 12, 16, 24; 0: none)
    int CreatorMeasures = 0;                 // the song creator's measure count
    bool CreatorRepeatFlag = false;          // the song came from the song creator with repeats
};

struct ProgramChangeOutcome {
    int Inserted = 0;
    bool LoopEndMoved = false;  // a loop end made room: the song should be saved
    std::string Message;        // why nothing was inserted
};

// `random(n)` gives 0 … n − 1.
ProgramChangeOutcome InsertProgramChanges(data::ChordMemory& memory, int measureUnits,
                                          const ProgramChangeSettings& settings,
                                          const std::function<int(int)>& random);

// Clears every program change command on the last beat of a measure; returns how many.
int RemoveProgramChanges(data::ChordMemory& memory, int measureUnits);

// "How many programs are currently available (1-999) ?": outside 1 … 999 (or not a
// number) gives the message and the count 128.
int ReadProgramCount(std::string_view entry, std::string& message);
// "Which bank should be used ('none' or 0-127) ?": −1 for no bank, values above 127 are 127.
int ReadBankNumber(std::string_view entry);
// "Enter start number please (0-999) ?": invalid input gives 0.
int ReadStartNumber(std::string_view entry);

// A program list: one entry per line, its first three characters the program number. More
// than 128 entries give the message and only the first 128 are kept.
std::vector<int> ReadProgramList(std::string_view text, std::string& message);
// "Create list of MIDI programs": the lines "000" … "127".
std::string ProgramListText();

}  // namespace chordella::composer
