#pragma once
// The .vxs style file: an optional 4-byte tag, the 1593-byte style header, the 528-byte part
// table and the event stream (the rest of the file, at most 165500 bytes). Reading checks
// everything the engine will later trust — the stream's grammar, the part offsets, the
// set-up values — so a damaged file is refused with a message naming what and where.
//
// A style that plays by channel rules (a keyboard style kept natively) ends its stream with
// the rules block of NativeRulesBlock.h: written in the stream's grammar after every part's
// last byte, so that a reader which takes the whole rest of the file as the stream reads and
// plays the parts unchanged. Stream and block together stay within the 165500 bytes. This
// reader takes the block off the stream; a damaged block leaves a plain style and a problem.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/NativeRules.h"
#include "data/StyleModel.h"

namespace chordella::data {

// A decoded and checked style file. `Stream` points into the bytes given to ReadStyleFile.
struct StyleImage {
    std::int32_t StyleFileTag = 0;          // 0 = the file has no tag
    StyleHeader Header;
    PartTable Parts{};
    std::span<const std::uint8_t> Stream;   // at most StreamCapacity bytes; further bytes are ignored
    NativeRules Native;                     // the rules block's rules; Present false without a block
    std::string NativeProblem;              // a rules block that was found but cannot be used: why
};

// Decodes a whole .vxs file. False, with a reason, for a file that ends inside the header or
// part table and for anything the engine could not play safely.
bool ReadStyleFile(std::span<const std::uint8_t> file, StyleImage& image, std::string& error);

// Checks a stream and a part table together: every byte of the stream is a channel message
// with two data bytes < 0x80 that ends inside the stream, a wait, 0xF0 or 0x00; every present
// part's offsets lie inside the stream on event boundaries with RangeStart ≤ RangeEnd; its
// FollowUpCode is one the engine knows. Used by the reader and by tests of the creator.
bool CheckStyleStream(const PartTable& parts, std::span<const std::uint8_t> stream, std::string& error);
// Checks the header: set-up bytes are 0 … 127 or 255, StyleMeter is a usable measure length.
bool CheckStyleHeader(const StyleHeader& header, std::string& error);

// The file's bytes: tag, header, part table, stream. The program always writes the tag: a
// file without it whose channel 1 sets controller 3 to 3 or more would read back as tagged.
// A `tag` below StyleFileTagMinimum writes a file without one (for tests of old files).
std::vector<std::uint8_t> StyleFileBytes(const StyleHeader& header, const PartTable& parts,
                                         std::span<const std::uint8_t> stream,
                                         std::int32_t tag = StyleFileTagWritten);
// Writes the file atomically. False with the reason.
bool WriteStyleFile(const std::string& path, const StyleHeader& header, const PartTable& parts,
                    std::span<const std::uint8_t> stream, std::string& error);

// The same with the rules block after the stream when `native` holds rules. False, writing
// nothing, when stream and block together would pass StreamCapacity: a reader that caps the
// stream would cut the block and refuse the file.
bool StyleFileBytes(const StyleHeader& header, const PartTable& parts, std::span<const std::uint8_t> stream,
                    const NativeRules& native, std::vector<std::uint8_t>& bytes, std::string& error);
bool WriteStyleFile(const std::string& path, const StyleHeader& header, const PartTable& parts,
                    std::span<const std::uint8_t> stream, const NativeRules& native, std::string& error);

// Largest |StyleMeter| accepted (16 quarter notes per measure).
inline constexpr int MaxStyleMeter = 64;

}  // namespace chordella::data
