#include "data/SmfBytes.h"

namespace chordella::data::smf {

VariableLength ReadVariableLength(std::span<const std::uint8_t> data, std::size_t& pos, std::uint32_t& value) {
    std::uint32_t result = 0;
    std::size_t at = pos;
    for (int count = 0; count < MaxVariableLengthBytes; ++count) {
        if (at >= data.size()) return VariableLength::Truncated;
        const std::uint8_t byte = data[at++];
        result = result << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            pos = at;
            value = result;
            return VariableLength::Ok;
        }
    }
    return VariableLength::TooLong;
}

int VariableLengthSize(std::uint32_t value) {
    int size = 1;
    for (value = value > MaxVariableLength ? MaxVariableLength : value; value >= 0x80; value >>= 7) ++size;
    return size;
}

void WriteVariableLength(platform::ByteWriter& out, std::uint32_t value) {
    if (value > MaxVariableLength) value = MaxVariableLength;
    const int size = VariableLengthSize(value);
    for (int index = size - 1; index >= 0; --index) {
        const auto group = static_cast<std::uint8_t>(value >> (7 * index) & 0x7F);
        out.U8(index > 0 ? static_cast<std::uint8_t>(group | 0x80) : group);
    }
}

bool ChunkIdIs(std::span<const std::uint8_t> data, std::size_t offset, std::string_view id) {
    if (offset > data.size() || data.size() - offset < id.size()) return false;
    for (std::size_t index = 0; index < id.size(); ++index)
        if (data[offset + index] != static_cast<std::uint8_t>(id[index])) return false;
    return true;
}

std::uint32_t BigEndian32(std::span<const std::uint8_t> data, std::size_t offset) {
    if (offset > data.size() || data.size() - offset < 4) return 0;
    return static_cast<std::uint32_t>(data[offset]) << 24 | static_cast<std::uint32_t>(data[offset + 1]) << 16 |
           static_cast<std::uint32_t>(data[offset + 2]) << 8 | data[offset + 3];
}

std::uint16_t BigEndian16(std::span<const std::uint8_t> data, std::size_t offset) {
    if (offset > data.size() || data.size() - offset < 2) return 0;
    return static_cast<std::uint16_t>(data[offset] << 8 | data[offset + 1]);
}

void WriteHeaderChunk(platform::ByteWriter& out, std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
    for (char c : std::string_view("MThd")) out.U8(static_cast<std::uint8_t>(c));
    out.U32BigEndian(6);
    out.U16BigEndian(format);
    out.U16BigEndian(tracks);
    out.U16BigEndian(division);
}

std::size_t BeginChunk(std::vector<std::uint8_t>& out, std::string_view id) {
    const std::size_t start = out.size();
    for (char c : id) out.push_back(static_cast<std::uint8_t>(c));
    out.insert(out.end(), 4, 0);
    return start;
}

void EndChunk(std::vector<std::uint8_t>& out, std::size_t chunkStart) {
    const std::size_t bodyStart = chunkStart + ChunkHeaderSize;
    if (bodyStart > out.size()) return;
    const auto length = static_cast<std::uint32_t>(out.size() - bodyStart);
    for (int index = 0; index < 4; ++index)
        out[chunkStart + 4 + index] = static_cast<std::uint8_t>(length >> (24 - 8 * index));
}

}  // namespace chordella::data::smf
