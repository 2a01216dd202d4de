#include "platform/Bytes.h"

#include <algorithm>

namespace chordella::platform {

bool ByteReader::Need(std::size_t count, const char* what) {
    if (Failed()) return false;
    if (count <= Remaining()) return true;
    error_ = "expected " + std::to_string(count) + (count == 1 ? " byte (" : " bytes (") + what + ") at offset " +
             std::to_string(offset_) + ", found " + std::to_string(Remaining());
    return false;
}

bool ByteReader::U8(std::uint8_t& value, const char* what) {
    if (!Need(1, what)) return false;
    value = data_[offset_++];
    return true;
}

bool ByteReader::U16(std::uint16_t& value, const char* what) {
    if (!Need(2, what)) return false;
    value = static_cast<std::uint16_t>(data_[offset_] | data_[offset_ + 1] << 8);
    offset_ += 2;
    return true;
}

bool ByteReader::I16(std::int16_t& value, const char* what) {
    std::uint16_t raw = 0;
    if (!U16(raw, what)) return false;
    value = static_cast<std::int16_t>(raw);
    return true;
}

bool ByteReader::U32(std::uint32_t& value, const char* what) {
    if (!Need(4, what)) return false;
    value = static_cast<std::uint32_t>(data_[offset_]) | static_cast<std::uint32_t>(data_[offset_ + 1]) << 8 |
            static_cast<std::uint32_t>(data_[offset_ + 2]) << 16 | static_cast<std::uint32_t>(data_[offset_ + 3]) << 24;
    offset_ += 4;
    return true;
}

bool ByteReader::I32(std::int32_t& value, const char* what) {
    std::uint32_t raw = 0;
    if (!U32(raw, what)) return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool ByteReader::U16BigEndian(std::uint16_t& value, const char* what) {
    if (!Need(2, what)) return false;
    value = static_cast<std::uint16_t>(data_[offset_] << 8 | data_[offset_ + 1]);
    offset_ += 2;
    return true;
}

bool ByteReader::U32BigEndian(std::uint32_t& value, const char* what) {
    if (!Need(4, what)) return false;
    value = static_cast<std::uint32_t>(data_[offset_]) << 24 | static_cast<std::uint32_t>(data_[offset_ + 1]) << 16 |
            static_cast<std::uint32_t>(data_[offset_ + 2]) << 8 | static_cast<std::uint32_t>(data_[offset_ + 3]);
    offset_ += 4;
    return true;
}

bool ByteReader::Bytes(std::span<std::uint8_t> out, const char* what) {
    if (!Need(out.size(), what)) return false;
    std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(offset_), out.size(), out.begin());
    offset_ += out.size();
    return true;
}

bool ByteReader::Skip(std::size_t count, const char* what) {
    if (!Need(count, what)) return false;
    offset_ += count;
    return true;
}

bool ByteReader::Peek(std::uint8_t& value) const {
    if (Failed() || AtEnd()) return false;
    value = data_[offset_];
    return true;
}

bool ByteReader::Seek(std::size_t offset, const char* what) {
    if (Failed()) return false;
    if (offset > data_.size()) {
        error_ = std::string("expected an offset inside the data (") + what + "), found " + std::to_string(offset) +
                 " of " + std::to_string(data_.size());
        return false;
    }
    offset_ = offset;
    return true;
}

std::span<const std::uint8_t> ByteReader::Rest(std::size_t maxBytes) {
    if (Failed()) return {};
    const std::size_t count = std::min(maxBytes, Remaining());
    auto rest = data_.subspan(offset_, count);
    offset_ += count;
    return rest;
}

void ByteWriter::U16(std::uint16_t value) {
    out_.push_back(static_cast<std::uint8_t>(value));
    out_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<std::uint8_t>(value >> shift));
}

void ByteWriter::U16BigEndian(std::uint16_t value) {
    out_.push_back(static_cast<std::uint8_t>(value >> 8));
    out_.push_back(static_cast<std::uint8_t>(value));
}

void ByteWriter::U32BigEndian(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out_.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace chordella::platform
