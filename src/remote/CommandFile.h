#pragma once
// Command files ("MIDICommands.ccs"): a text file whose first line is the table text of the
// ten MIDI commands (MidiCommandTable.h). Control thread (or a headless command).

#include <optional>
#include <string>
#include <string_view>

#include "remote/MidiCommandTable.h"

namespace chordella::remote {

inline constexpr std::string_view DefaultCommandFileName = "MIDICommands.ccs";
inline constexpr std::size_t MaxCommandFileBytes = 64 * 1024;

// The table in a command file's text (only the first line counts; a trailing carriage
// return or blanks are ignored). Nullopt with the reason on a damaged text.
std::optional<MidiCommandTable> ParseCommandFile(std::string_view text, std::string* error = nullptr);

// Reads a command file. Nullopt with "<path>: <reason>" in `error` when it cannot be read
// or is damaged; nothing else changes.
std::optional<MidiCommandTable> ReadCommandFile(const std::string& path, std::string& error);

// Writes the table as a command file through a temporary file and a rename. False with
// the reason in `error`; the old file is then untouched.
bool WriteCommandFile(const std::string& path, const MidiCommandTable& table, std::string& error);

}  // namespace chordella::remote
