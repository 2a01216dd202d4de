#pragma once
// Whole-file reads with a size cap, and writes that never leave a half-written file.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace chordella::platform {

// Reads the whole file. A file larger than maxBytes is refused. On failure returns false
// and puts a readable reason ("No such file or directory", "larger than … bytes") in error.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out, std::string& error);
bool ReadTextFile(const std::string& path, std::size_t maxBytes, std::string& out, std::string& error);

// Writes a temporary file in the same folder, flushes it and renames it over `path`,
// so a crash or a full disk leaves either the old file or the new one, never half of one.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string& error);
bool WriteFileAtomically(const std::string& path, std::string_view text, std::string& error);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace chordella::platform
