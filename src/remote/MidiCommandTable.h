#pragma once
// The ten MIDI commands of the "MIDI Commands" window: each a type, a channel, a value and a
// data field, kept in settings key "CtrlStr" and in command files as one text of forty
// three-digit fields (command 0 type, channel, value, data, command 1 …).
//
// Any thread (plain values).

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace chordella::remote {

enum class CommandType : int {
    CcToggleAboveZero = 0,
    NoteToggleAboveZero = 1,
    ProgramChange = 2,
    CcToggleOnOff = 3,
    NoteToggleOnOff = 4,
    CcMomentary = 5,
    NoteMomentary = 6,
    CcDelayed = 7,
    NoteDelayed = 8,
    NextProgram = 9,
    PreviousProgram = 10,
};

inline constexpr int CommandCount = 10;
inline constexpr int TypeCount = 11;
inline constexpr int HighestValue = 127;
inline constexpr int HighestData = 999;
inline constexpr std::size_t TableTextLength = 120;

// The names of the window's type list, by type.
inline constexpr std::array<std::string_view, TypeCount> CommandTypeNames = {
    "CC Toggle > 0",  "Note Toggle > 0", "Prog. change", "CC Toggle 1/0", "Note Toggle 1/0", "CC Momentary",
    "Note Momentary", "CC Delayed",      "Note Delayed", "Next prog.",    "Previous prog.",
};

struct MidiCommand {
    int Type = 0;     // 0 … 10
    int Channel = 0;  // 0 … 15 (shown 1 … 16)
    int Value = 0;    // 0 … 127: controller, note or program
    int Data = 0;     // 0 … 999: controller value, velocity, or bank for a program change

    bool operator==(const MidiCommand&) const = default;
};

struct MidiCommandTable {
    std::array<MidiCommand, CommandCount> Commands{};

    bool operator==(const MidiCommandTable&) const = default;
};

// Brings every field into its range: type 0 … 10, channel 0 … 15, value 0 … 127, data
// 0 … 999 (a number below a range becomes its lowest value, above it its highest).
MidiCommand Clamped(const MidiCommand& command);

// The forty fields, each "%-3.3d", 120 characters; an all-zero table gives 120 zeros.
std::string TableText(const MidiCommandTable& table);

// Reads a table text: 120 characters of forty three-character fields, each three digits or a
// minus sign and two digits (a negative number, raised to the field's lowest value). Fields
// out of range are clamped as Clamped does. Nullopt, with a reason in `error`, for a shorter
// or longer text or a field that is no number; the caller then keeps its table.
std::optional<MidiCommandTable> ParseTableText(std::string_view text, std::string* error = nullptr);

}  // namespace chordella::remote
