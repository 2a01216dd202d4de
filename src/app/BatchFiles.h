#pragma once
// How the batch processor writes a style file: into a temporary file beside the target,
// flushed, read back and checked as a style, and only then renamed over the target. A run
// that is killed leaves at worst a stray "NAME.vxs.batch-XXXXXX" (not a style file), never a
// half-written style. A full disk is told apart from other faults: it ends the run.

#include <cstdint>
#include <span>
#include <string>

namespace chordella::app {

struct StyleWrite {
    bool Ok = false;
    bool NoRoom = false;   // the disk (or the user's quota or file-size limit) is full
    std::string Error;
};

StyleWrite ReplaceStyleFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace chordella::app
