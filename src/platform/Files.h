#pragma once
// Whole-file reads with a size cap, and writes that never leave a half-written file.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace chordella::platform {

// Reads the whole file. A file larger than maxBytes is refused, and so is anything that is
// not a regular file (a FIFO would block the reader for ever). On failure returns false
// and puts a readable reason ("No such file or directory", "larger than … bytes",
// "is a FIFO, not a file") in error.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out, std::string& error);
bool ReadTextFile(const std::string& path, std::size_t maxBytes, std::string& out, std::string& error);

// Writes a temporary file in the same folder, flushes it and renames it over `path`,
// so a crash or a full disk leaves either the old file or the new one, never half of one.
// The temporaries killed saves left in that folder are removed first (StaleTemporaries.h).
// A symbolic link is written through (its target is replaced, the link stays), the old
// file's permission bits are kept, and a file without write permission is refused
// ("is read-only") rather than replaced.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string& error);
bool WriteFileAtomically(const std::string& path, std::string_view text, std::string& error);

// Where a replacing write of `path` goes and with which permission bits: the link target
// for a symbolic link, the old file's mode (0644 for a new file). False with "is
// read-only" for a file without write permission.
struct ReplaceTarget {
    std::string Path;
    unsigned Mode = 0644;
    bool Existed = false;
    unsigned Owner = 0, Group = 0;
};
bool PlanReplace(const std::string& path, ReplaceTarget& target, std::string& error);
// Gives the temporary file `fd` the target's mode (and owner, where we may).
void MatchReplaced(int fd, const ReplaceTarget& target);

bool FileExists(const std::string& path);
// Empty for a regular file (or a link to one); else what the path is, to follow the file
// name in a message: "no such file", "is a folder, not a file", "is a link to a missing
// file", "is a FIFO, not a file", "is a device, not a file", "is a socket, not a file".
std::string WhyNotAFile(const std::string& path);
// The path a write to `path` lands on: the final target of a symbolic link (relative
// links resolved from the link's folder), else `path` itself.
std::string WriteTargetOf(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace chordella::platform
