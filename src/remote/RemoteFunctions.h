#pragma once
// The functions the remote control can call, by number: program-control functions 0 … 23,
// MIDI commands 50 … 59 (command number − 50), and two functions only a learned message
// or a foot switch calls: next section (Basic ↔ Extended) and next song.
//
// Any thread (constants).

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace chordella::remote {

inline constexpr int ProgramFunctionCount = 24;
inline constexpr int FirstCommandFunction = 50;
inline constexpr int NextSectionFunction = 100;
inline constexpr int NextSongFunction = 101;

namespace function {
inline constexpr int MelodyAdLib = 0;
inline constexpr int StartStop = 1;
inline constexpr int Pad = 2;
inline constexpr int Melody = 3;
inline constexpr int OctaveDown = 4;
inline constexpr int OctaveUp = 5;
inline constexpr int ToneDown = 6;
inline constexpr int ToneUp = 7;
inline constexpr int TempoDown = 8;
inline constexpr int TempoUp = 9;
inline constexpr int VolumeDown = 10;
inline constexpr int VolumeUp = 11;
inline constexpr int NewSong = 12;
inline constexpr int NewChords = 13;
inline constexpr int NewStyle = 14;
inline constexpr int FillIn = 15;
inline constexpr int ToExtended = 16;
inline constexpr int ToBasic = 17;
inline constexpr int Ending = 18;
inline constexpr int KeyAdjustment = 19;
inline constexpr int ProgramChanges = 20;
inline constexpr int RandomInstruments = 21;
inline constexpr int NewProgramChangeCodes = 22;
inline constexpr int OtherMelodyInstrument = 23;
}  // namespace function

// The names of the instrument window's function list, by program-control number.
inline constexpr std::array<std::string_view, ProgramFunctionCount> ProgramFunctionNames = {
    "Melody Ad Lib on/off", "Start/Stop",         "PAD on/off",  "Melody on/off",
    "Octave down",          "Octave up",          "Tone down",   "Tone up",
    "Tempo -5",             "Tempo +5",           "Volume -10",  "Volume +10",
    "New song",             "New chords",         "New style",   "Fill in",
    "To extended",          "To Basic",           "Ending",      "Key adjustment on/off",
    "Prog changes on/off",  "Random instruments on/off", "New prog change codes", "Choose other melody instrument",
};

// Every function a message can be bound to, in list order.
std::array<int, ProgramFunctionCount + 10 + 2> BindableFunctions();
// "Start/Stop", "MIDI command num.Key 3", "Next section" …; empty for an unknown number.
std::string FunctionName(int number);
// The function a text names: its number, or its name (case and blanks ignored, or one name
// that contains the text). Nullopt when none or several fit.
std::optional<int> FindFunction(std::string_view text);

}  // namespace chordella::remote
