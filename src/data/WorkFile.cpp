#include "data/WorkFile.h"

#include <algorithm>
#include <cstring>

#include "platform/Bytes.h"
#include "platform/Files.h"

namespace chordella::data {

namespace {

constexpr std::size_t FixedBytes = 2 + 2 + 4 + WorkStyleHeaderSize + WorkPartTableSize;  // 2129 with L = 0
constexpr std::size_t LargestWorkFile = FixedBytes + WorkChordMemorySize + WorkChunkCapacity;

}  // namespace

std::array<std::uint8_t, WorkStyleHeaderSize> FreshStyleHeader() {
    std::array<std::uint8_t, WorkStyleHeaderSize> header{};
    std::fill(header.begin(), header.begin() + WorkChannelUsedOffset, 255);
    return header;
}

WorkFile::WorkFile() : StyleHeader(FreshStyleHeader()) {}

std::int16_t WorkFile::StyleTempo() const {
    return static_cast<std::int16_t>(StyleHeader[WorkStyleTempoOffset] | StyleHeader[WorkStyleTempoOffset + 1] << 8);
}

std::int16_t WorkFile::StyleMeter() const {
    return static_cast<std::int16_t>(StyleHeader[WorkStyleMeterOffset] | StyleHeader[WorkStyleMeterOffset + 1] << 8);
}

void WorkFile::SetStyleTempo(std::int16_t bpm) {
    StyleHeader[WorkStyleTempoOffset] = static_cast<std::uint8_t>(bpm & 0xFF);
    StyleHeader[WorkStyleTempoOffset + 1] = static_cast<std::uint8_t>((bpm >> 8) & 0xFF);
}

void WorkFile::SetStyleMeter(std::int16_t units) {
    StyleHeader[WorkStyleMeterOffset] = static_cast<std::uint8_t>(units & 0xFF);
    StyleHeader[WorkStyleMeterOffset + 1] = static_cast<std::uint8_t>((units >> 8) & 0xFF);
}

bool WorkFile::ChannelUsed(int channel) const {
    return channel >= 0 && channel < 16 && StyleHeader[WorkChannelUsedOffset + channel] != 0;
}

void WorkFile::SetChannelUsed(int channel, bool used) {
    if (channel >= 0 && channel < 16) StyleHeader[WorkChannelUsedOffset + channel] = used ? 1 : 0;
}

bool ParseWorkFile(std::span<const std::uint8_t> bytes, WorkFile& out, std::string& error) {
    platform::ByteReader reader(bytes);
    WorkFile work;
    if (!reader.U16(work.WorkLengthUnits, "work length") || !reader.U16(work.ChordMemoryLength, "chord memory length")) {
        error = "not a work file: " + reader.Error();
        return false;
    }
    if (work.ChordMemoryLength + 4 > WorkChordMemorySize) {
        error = "chord memory length " + std::to_string(work.ChordMemoryLength) + " at offset 2 exceeds " +
                std::to_string(WorkChordMemorySize - 4);
        return false;
    }
    work.ChordMemory.assign(work.ChordMemoryLength + 4u, 0);
    if (!reader.Bytes(work.ChordMemory, "chord memory") || !reader.Bytes(work.StyleHeader, "style header") ||
        !reader.Bytes(work.PartTable, "part table")) {
        error = "cut short: " + reader.Error();
        return false;
    }
    const auto stream = reader.Rest(WorkChunkCapacity);
    work.Stream.assign(stream.begin(), stream.end());
    out = std::move(work);
    return true;
}

std::vector<std::uint8_t> SerializeWorkFile(const WorkFile& work) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(FixedBytes + work.ChordMemory.size() + work.Stream.size());
    platform::ByteWriter writer(bytes);
    // The length field always matches the bytes written, so the file reads back as written.
    const std::size_t chordBytes = std::clamp<std::size_t>(work.ChordMemory.size(), 4, WorkChordMemorySize);
    writer.U16(work.WorkLengthUnits);
    writer.U16(static_cast<std::uint16_t>(chordBytes - 4));
    writer.Bytes(std::span(work.ChordMemory).first(std::min(chordBytes, work.ChordMemory.size())));
    writer.Zeros(chordBytes - std::min(chordBytes, work.ChordMemory.size()));
    writer.Bytes(work.StyleHeader);
    writer.Bytes(work.PartTable);
    writer.Bytes(std::span(work.Stream).first(std::min<std::size_t>(work.Stream.size(), WorkChunkCapacity)));
    return bytes;
}

bool ReadWorkFile(const std::string& path, WorkFile& out, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadFileBytes(path, LargestWorkFile, bytes, error)) return false;
    return ParseWorkFile(bytes, out, error);
}

bool WriteWorkFile(const std::string& path, const WorkFile& work, std::string& error) {
    return platform::WriteFileAtomically(path, SerializeWorkFile(work), error);
}

void TakeWorkMaterial(const CreatorWork& work, WorkFile& file) {
    const auto material = FirstChunkMaterial(work);
    file.Stream.assign(material.begin(), material.end());
    file.WorkLengthUnits = work.WorkLengthUnits;
}

bool PutWorkMaterial(const WorkFile& file, CreatorWork& work) {
    if (!EnsureWorkChunks(work, 1)) return false;
    ClearWorkMaterial(work);
    const std::size_t size = std::min<std::size_t>(file.Stream.size(), WorkChunkCapacity);
    // An empty stream has no data pointer to copy from.
    if (size > 0) std::memcpy(work.Chunks[0].Buffer.get(), file.Stream.data(), size);
    work.Chunks[0].Size = static_cast<std::int32_t>(size);
    work.Chunks[0].Present = true;
    work.Chunks[0].LengthUnits = file.WorkLengthUnits;
    work.WorkLength = static_cast<std::int32_t>(size);
    work.WorkLengthUnits = file.WorkLengthUnits;
    work.WorkModified = false;
    return true;
}

}  // namespace chordella::data
