#pragma once
// A Standard MIDI File as the importer sees it: the header (format, declared tracks,
// division) and up to 32 track chunks, each a view of its bytes inside the file, plus a
// reader that walks one track's events. Nothing here reads outside the file's bytes:
// a chunk whose length points past the end of the file is cut at the end of the file.
//
// The whole file is in memory (the import refuses files of 165001 bytes or more), so every
// track fits into one 165500-byte window: a track's view of the file's bytes is its window,
// and no window ever needs reloading.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace chordella::data {

inline constexpr int MaxImportTracks = 32;          // track chunks beyond the 32nd are ignored
inline constexpr std::size_t MaxImportFileSize = 165000;  // a file of 165001 bytes or more is refused
inline constexpr int TicksPerQuarter = 24;          // the stream's resolution

struct SmfTrackChunk {
    std::size_t Offset = 0;                  // file offset of the track's data
    std::uint32_t DeclaredLength = 0;        // the length the chunk header gives
    std::span<const std::uint8_t> Data;      // the data present in the file (may be shorter)
    bool CutShort() const { return Data.size() < DeclaredLength; }
};

struct SmfLayout {
    int Format = 0;
    int DeclaredTracks = 0;
    int Division = 0;                        // ticks per quarter note
    std::vector<SmfTrackChunk> Tracks;       // at most MaxImportTracks
    int FileTicksPerTick() const { return Division / TicksPerQuarter; }
};

enum class SmfLayoutError {
    None,
    NotSmf,          // no "MThd", or a track chunk without "MTrk"
    TimeCode,        // the division's top bit is set
    TimeBaseTooSmall // division below 24: less than one file tick per output tick
};

// Reads the header and the track chunk table. The track chunks follow each other from
// offset 14 on; each must begin with "MTrk".
SmfLayoutError ReadSmfLayout(std::span<const std::uint8_t> file, SmfLayout& layout);

// The program's message for a layout error ("This is not a Standard MIDI-File !", …).
std::string SmfLayoutMessage(SmfLayoutError error, int division);

// One event of a track. Channel messages carry their status (running status resolved)
// and data bytes; meta events their type and data; system exclusive only its data.
struct SmfEvent {
    enum class Kind { Channel, Meta, SystemExclusive } Type = Kind::Channel;
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
    std::uint8_t MetaType = 0;
    std::span<const std::uint8_t> Payload;
};

enum class SmfRead {
    Ok,
    End,          // the track's data ends (also inside an event cut off by the chunk's end)
    UnknownCode,  // a status byte 0xF1 … 0xFE other than 0xF7 and 0xFF
    Damaged,      // a quantity of more than four bytes, or data before any status
};

// Walks the events of one track chunk, every read bounds-checked. Running status carries
// across meta and system-exclusive events, as it does in many files found in the wild.
class SmfTrackReader {
public:
    explicit SmfTrackReader(std::span<const std::uint8_t> data) : data_(data) {}

    SmfRead ReadDelta(std::uint32_t& delta);
    SmfRead ReadEvent(SmfEvent& event);
    bool AtEnd() const { return pos_ >= data_.size(); }
    std::size_t Position() const { return pos_; }
    std::size_t Size() const { return data_.size(); }
    std::uint8_t ByteAt(std::size_t at) const { return at < data_.size() ? data_[at] : 0; }
    // What was wrong after Damaged: "a delta time longer than four bytes at track offset 12".
    const std::string& Problem() const { return problem_; }

private:
    SmfRead ReadChannel(std::uint8_t status, bool running, SmfEvent& event);
    SmfRead ReadSized(SmfEvent& event);
    SmfRead Fail(const char* what);

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    std::uint8_t runningStatus_ = 255;       // none yet
    std::string problem_;
};

}  // namespace chordella::data
