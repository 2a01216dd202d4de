#pragma once
// The byte-level pieces of Standard MIDI Files that the reader and the writer share:
// variable-length quantities, chunk headers and the header chunk. Chunk fields are
// big-endian, as the file format wants; everything else of ours is little-endian.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Bytes.h"

namespace chordella::data::smf {

inline constexpr int ChunkHeaderSize = 8;          // four-letter id and a 32-bit length
inline constexpr int HeaderChunkSize = 14;         // "MThd", length 6, format, tracks, division
inline constexpr int MaxVariableLengthBytes = 4;
inline constexpr std::uint32_t MaxVariableLength = 0x0FFFFFFF;

enum class VariableLength {
    Ok,
    Truncated,   // the data ends inside the quantity
    TooLong,     // a fifth byte would be needed: not a Standard MIDI File quantity
};

// Reads a variable-length quantity at `pos`. On success `pos` moves past it; otherwise
// `pos` and `value` stay as they were.
VariableLength ReadVariableLength(std::span<const std::uint8_t> data, std::size_t& pos, std::uint32_t& value);

// Writes a variable-length quantity (values above MaxVariableLength are written as it).
void WriteVariableLength(platform::ByteWriter& out, std::uint32_t value);
int VariableLengthSize(std::uint32_t value);

// True when the four bytes at `offset` spell `id` ("MThd", "MTrk").
bool ChunkIdIs(std::span<const std::uint8_t> data, std::size_t offset, std::string_view id);
std::uint32_t BigEndian32(std::span<const std::uint8_t> data, std::size_t offset);
std::uint16_t BigEndian16(std::span<const std::uint8_t> data, std::size_t offset);

// "MThd", length 6, format, number of tracks, division (ticks per quarter note).
void WriteHeaderChunk(platform::ByteWriter& out, std::uint16_t format, std::uint16_t tracks, std::uint16_t division);

// A chunk whose length is known only when its body is written: BeginChunk writes the id and
// a placeholder, EndChunk fills in the length of everything written since.
std::size_t BeginChunk(std::vector<std::uint8_t>& out, std::string_view id);
void EndChunk(std::vector<std::uint8_t>& out, std::size_t chunkStart);

}  // namespace chordella::data::smf
