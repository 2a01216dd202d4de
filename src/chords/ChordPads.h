#pragma once
// The chord pads of the main window and what their names mean. Chord pads "A00" … "K11":
// the row letter is the slot (A = 1 … K = 11; the letter of slot 15 is accepted too), the
// column the root (52 + column: E, F, F#, … Eb). Function pads "M00" … "M23": a chord each
// with a caption and a hint. Section buttons "L00" … "L04".

#include <array>
#include <optional>
#include <string_view>

namespace chordella::chords {

inline constexpr int PadLowestRoot = 52;  // column 00 (E)
inline constexpr int PadColumns = 12;
inline constexpr int FunctionPadCount = 24;
inline constexpr int SectionButtonCount = 5;
inline constexpr int SectionSlot = 12;  // the slot a section button stands for

enum class PadKind { Chord, Function, Section };

// Section buttons: L00 Fill in (F1), L01 To Basic (F3), L02 Ending (F4), L03 To Extended
// (F2), L04 the intro key (F5).
enum class SectionButton { FillIn = 0, ToBasic = 1, Ending = 2, ToExtended = 3, Intro = 4 };

struct PadName {
    PadKind Kind = PadKind::Chord;
    int Number = 0;  // chord pads: the column 0 … 11; function pads 0 … 23; section buttons 0 … 4
    int Slot = 0;    // chord pads: the row's slot; function pads: their slot; section buttons: 12
    int Root = 0;    // chord and function pads: the root note (52 … 63); section buttons: 0
};

// "A00" … "K11", "O00" … "O11", "M00" … "M23", "L00" … "L04"; anything else: nothing.
std::optional<PadName> ParsePadName(std::string_view name);

// Function pad n's slot is 1 + FunctionPadSlots[n]; its root 52 + FunctionPadTags[n].
inline constexpr std::array<int, FunctionPadCount> FunctionPadSlots = {0, 1, 1, 0, 0, 1, 4, 2, 2, 2, 2, 2,
                                                                        1, 4, 0, 1, 1, 0, 0, 3, 5, 5, 3, 2};
inline constexpr std::array<int, FunctionPadCount> FunctionPadTags = {8, 10, 0, 1, 3, 5, 7, 8, 10, 5, 0, 7,
                                                                       8, 10, 11, 1, 3, 4, 6, 8, 11, 4, 1, 6};

// The function pad's caption ("Cmaj" … "Bb7th") and the hint shown over it (what the chord
// does in C major); empty for a number outside 0 … 23.
std::string_view FunctionPadCaption(int number);
std::string_view FunctionPadHint(int number);

}  // namespace chordella::chords
