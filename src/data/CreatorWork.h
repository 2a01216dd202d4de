#pragma once
// The style creator's work: the material being shaped, in up to seven chained stream
// chunks of 165500 bytes each, and the creator fields the MIDI import writes. A member of
// the style container. Chunk buffers are allocated on first use and reused afterwards;
// clearing the work zeroes them and marks them absent, it never frees them.
//
// Stream grammar (shared with the style): three-byte channel messages, waits 0xF8 … 0xFF of
// 1 … 8 ticks, 0xF0 ends a chunk (reading goes on in the next), 0x00 ends the stream.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace chordella::data {

inline constexpr std::int32_t WorkChunkCapacity = 165500;
inline constexpr int MaxWorkChunks = 7;
inline constexpr int UnitsPerBeat = 4;           // chord-memory units per quarter note
inline constexpr int FirstPosition = 4;          // chord-memory position of measure 1, beat 1

struct WorkChunk {
    std::unique_ptr<std::uint8_t[]> Buffer;      // WorkChunkCapacity bytes once allocated
    std::int32_t Size = 0;                       // bytes of material (a closing 0xF0 included)
    bool Present = false;
    std::int32_t LengthUnits = 0;                // chord-memory units of the material in it
};

// A place in the chained stream.
struct WorkPosition {
    int Chunk = 0;
    std::int32_t Offset = 0;
    friend bool operator==(const WorkPosition&, const WorkPosition&) = default;
};

// A section marker of a keyboard style file, as the import found it.
struct SectionMarker {
    std::string Text;                            // at most 25 bytes of the marker's text
    int StartMeasure = 1;
    int EndMeasure = 0;                          // 0 until the next marker (or the end) is reached
    // The beat of StartMeasure the section begins on: above 1 when the sections before it
    // are not a whole number of bars (four beats of set-up in a 3/4 style).
    int StartBeat = 1;
    std::int64_t FirstBeat = 0;                  // quarter notes from the file's start to the marker
    std::int64_t Beats = 0;                      // the section's quarter notes, once its end is known
    // "Main A : 2 - 5"
    std::string DisplayText() const;
};

struct CreatorWork {
    std::array<WorkChunk, MaxWorkChunks> Chunks;
    std::int32_t WorkLength = 0;                 // bytes of material; 0 = no work
    std::uint16_t WorkLengthUnits = 0;           // 4 units per quarter note
    bool WorkModified = false;
    bool AppendMode = false;                     // imports go after the existing material
    std::int32_t Position = FirstPosition;       // the creator's position, chord-memory units
    bool ImportedSong = false;                   // the material came from a MIDI file
    int ChordChangeInterval = 0;                 // index into "1/4", "1/2", "3/4", "1/1", … "2/1"
    std::string MeterBox = "4/4";                // the creator's meter box
    std::string SourceFile;                      // the MIDI file the material came from
    std::string ImportDirectory;                 // the last import directory
    std::string Caption;                         // the creator window's caption
    std::vector<SectionMarker> Markers;          // markers of the last imported style file
};

// The creator window's base caption.
inline constexpr const char* CreatorTitle = "Style-Creator & Chord-Generator";

// Makes chunks 0 … count−1 exist (zero-filled when new). False when memory is short; the
// chunks made so far stay.
bool EnsureWorkChunks(CreatorWork& work, int count);
// Clears the material: every chunk zeroed and absent (chunk 0 stays present), lengths 0.
void ClearWorkMaterial(CreatorWork& work);
// Chunk 0's bytes of material, empty without a work.
std::span<const std::uint8_t> FirstChunkMaterial(const CreatorWork& work);

// The place right after the wait byte at which the sum of waits from the start first
// reaches `tick` (tick 0: the start); the end of the material when the stream is shorter.
WorkPosition PositionAfterTick(const CreatorWork& work, std::int64_t tick);
// The end of the material: where 0x00 stands, or the end of the last present chunk.
WorkPosition EndOfMaterial(const CreatorWork& work);
// Ticks in the material up to its end.
std::int64_t MaterialTicks(const CreatorWork& work);

}  // namespace chordella::data
