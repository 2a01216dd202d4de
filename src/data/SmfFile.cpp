#include "data/SmfFile.h"

#include <algorithm>

#include "data/SmfBytes.h"

namespace chordella::data {

SmfLayoutError ReadSmfLayout(std::span<const std::uint8_t> file, SmfLayout& layout) {
    SmfLayout result;
    if (file.size() < static_cast<std::size_t>(smf::HeaderChunkSize) || !smf::ChunkIdIs(file, 0, "MThd"))
        return SmfLayoutError::NotSmf;
    result.Format = file[9];
    result.DeclaredTracks = smf::BigEndian16(file, 10);
    result.Division = smf::BigEndian16(file, 12);
    if (result.Division & 0x8000) return SmfLayoutError::TimeCode;
    if (result.Division < TicksPerQuarter) {
        layout.Division = result.Division;
        return SmfLayoutError::TimeBaseTooSmall;
    }
    std::size_t offset = smf::HeaderChunkSize;
    const int used = std::min(result.DeclaredTracks, MaxImportTracks);
    for (int track = 0; track < used; ++track) {
        if (!smf::ChunkIdIs(file, offset, "MTrk") || file.size() - offset < smf::ChunkHeaderSize)
            return SmfLayoutError::NotSmf;
        SmfTrackChunk chunk;
        chunk.DeclaredLength = smf::BigEndian32(file, offset + 4);
        chunk.Offset = offset + smf::ChunkHeaderSize;
        const std::size_t present = std::min<std::size_t>(chunk.DeclaredLength, file.size() - chunk.Offset);
        chunk.Data = file.subspan(chunk.Offset, present);
        result.Tracks.push_back(chunk);
        // The next chunk starts right after the declared data (past the end of the file when
        // the length lies, and then there is no next chunk to read).
        offset = chunk.Offset + std::min<std::size_t>(chunk.DeclaredLength, file.size() - chunk.Offset + 1);
        if (offset > file.size() && track + 1 < used) return SmfLayoutError::NotSmf;
    }
    layout = std::move(result);
    return SmfLayoutError::None;
}

std::string SmfLayoutMessage(SmfLayoutError error, int division) {
    switch (error) {
        case SmfLayoutError::None: return {};
        case SmfLayoutError::NotSmf: return "This is not a Standard MIDI-File !";
        case SmfLayoutError::TimeCode: return "This File is not MTC-decoded !";
        case SmfLayoutError::TimeBaseTooSmall:
            return "This MIDI-File counts " + std::to_string(division) +
                   " ticks per quarter note; at least 24 are needed !";
    }
    return {};
}

SmfRead SmfTrackReader::Fail(const char* what) {
    problem_ = std::string(what) + " at track offset " + std::to_string(pos_);
    return SmfRead::Damaged;
}

SmfRead SmfTrackReader::ReadDelta(std::uint32_t& delta) {
    switch (smf::ReadVariableLength(data_, pos_, delta)) {
        case smf::VariableLength::Ok: return SmfRead::Ok;
        case smf::VariableLength::Truncated: pos_ = data_.size(); return SmfRead::End;
        case smf::VariableLength::TooLong: return Fail("a delta time longer than four bytes");
    }
    return SmfRead::End;
}

SmfRead SmfTrackReader::ReadChannel(std::uint8_t status, bool running, SmfEvent& event) {
    const bool oneDataByte = status >= 0xC0 && status <= 0xDF;
    // With running status the byte at pos_ is already the first data byte.
    const std::size_t need = oneDataByte ? 1u : 2u;
    const std::size_t start = pos_ + (running ? 0 : 1);
    if (start > data_.size() || data_.size() - start < need) {
        pos_ = data_.size();
        return SmfRead::End;
    }
    event = SmfEvent{};
    event.Type = SmfEvent::Kind::Channel;
    event.Status = status;
    event.Data1 = data_[start] & 0x7F;
    std::size_t next = start + 1;
    if (!oneDataByte) event.Data2 = data_[next++] & 0x7F;
    pos_ = next;
    runningStatus_ = status;
    return SmfRead::Ok;
}

SmfRead SmfTrackReader::ReadSized(SmfEvent& event) {
    std::uint32_t length = 0;
    switch (smf::ReadVariableLength(data_, pos_, length)) {
        case smf::VariableLength::Ok: break;
        case smf::VariableLength::Truncated: pos_ = data_.size(); return SmfRead::End;
        case smf::VariableLength::TooLong: return Fail("an event length longer than four bytes");
    }
    if (length > data_.size() - pos_) {
        // The event's data runs past the chunk: the track ends here.
        pos_ = data_.size();
        return SmfRead::End;
    }
    event.Payload = data_.subspan(pos_, length);
    pos_ += length;
    return SmfRead::Ok;
}

SmfRead SmfTrackReader::ReadEvent(SmfEvent& event) {
    if (pos_ >= data_.size()) return SmfRead::End;
    const std::uint8_t first = data_[pos_];
    if (first < 0x80) {
        if (runningStatus_ == 255) return Fail("a data byte before any status byte");
        return ReadChannel(runningStatus_, true, event);
    }
    if (first <= 0xEF) return ReadChannel(first, false, event);
    if (first == 0xF0 || first == 0xF7) {
        ++pos_;
        event = SmfEvent{};
        event.Type = SmfEvent::Kind::SystemExclusive;
        event.Status = first;
        return ReadSized(event);
    }
    if (first == 0xFF) {
        if (data_.size() - pos_ < 2) {
            pos_ = data_.size();
            return SmfRead::End;
        }
        event = SmfEvent{};
        event.Type = SmfEvent::Kind::Meta;
        event.Status = first;
        event.MetaType = data_[pos_ + 1];
        pos_ += 2;
        return ReadSized(event);
    }
    return SmfRead::UnknownCode;
}

}  // namespace chordella::data
