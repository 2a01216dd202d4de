#pragma once
// Little-endian reading and writing of the program's binary files, byte by byte.
// Every read is checked; the first failure is kept as "what was expected, what was
// found, at which offset", and every read after it fails too.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace chordella::platform {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t Offset() const { return offset_; }
    std::size_t Size() const { return data_.size(); }
    std::size_t Remaining() const { return data_.size() - offset_; }
    bool AtEnd() const { return offset_ >= data_.size(); }
    bool Failed() const { return !error_.empty(); }
    // "expected 2 bytes (style meter) at offset 1590, found 1"
    const std::string& Error() const { return error_; }

    // Each takes a short name of what is read, for the error text.
    bool U8(std::uint8_t& value, const char* what);
    bool U16(std::uint16_t& value, const char* what);
    bool I16(std::int16_t& value, const char* what);
    bool U32(std::uint32_t& value, const char* what);
    bool I32(std::int32_t& value, const char* what);
    bool U16BigEndian(std::uint16_t& value, const char* what);
    bool U32BigEndian(std::uint32_t& value, const char* what);
    bool Bytes(std::span<std::uint8_t> out, const char* what);
    bool Skip(std::size_t count, const char* what);
    // Looks at the next byte without taking it; false at the end.
    bool Peek(std::uint8_t& value) const;
    // Moves to an absolute offset inside the data (the end included).
    bool Seek(std::size_t offset, const char* what);
    // The rest of the data, at most maxBytes of it; the reader moves past what it returns.
    std::span<const std::uint8_t> Rest(std::size_t maxBytes);

private:
    bool Need(std::size_t count, const char* what);

    std::span<const std::uint8_t> data_;
    std::size_t offset_ = 0;
    std::string error_;
};

class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void U8(std::uint8_t value) { out_.push_back(value); }
    void U16(std::uint16_t value);
    void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
    void U32(std::uint32_t value);
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void U16BigEndian(std::uint16_t value);
    void U32BigEndian(std::uint32_t value);
    void Bytes(std::span<const std::uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void Zeros(std::size_t count) { out_.insert(out_.end(), count, 0); }
    std::size_t Size() const { return out_.size(); }

private:
    std::vector<std::uint8_t>& out_;
};

}  // namespace chordella::platform
