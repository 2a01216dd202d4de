#pragma once
// The style creator's work file (.vxw), little-endian, without a tag:
//
//   offset      size        content
//   0           2           work length in chord-memory units (u16)
//   2           2           chord memory length L (u16; 4 = empty)
//   4           L + 4       chord memory bytes
//   8 + L       1593        style header (channel set-ups and flags)
//   1601 + L    528         part table (8 part records)
//   2129 + L    the rest    event stream (chunk 0), at most 165500 bytes
//
// The blocks are kept as bytes here; the style and the chord memory own their meaning.
// Reading checks the whole file before the caller changes anything.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/CreatorWork.h"

namespace chordella::data {

inline constexpr int WorkStyleHeaderSize = 1593;
inline constexpr int WorkPartTableSize = 528;
inline constexpr int WorkChordMemorySize = 12010;      // the chord memory's buffer
inline constexpr int EmptyChordMemoryLength = 4;
inline constexpr int WorkChannelUsedOffset = 1568;     // inside the style header
inline constexpr int WorkStyleTempoOffset = 1584;
inline constexpr int WorkStyleMeterOffset = 1588;
inline constexpr const char* WorkFileFilter = "Work-Files (*.vxw)|*.vxw";
inline constexpr const char* WorkLoadTitle = "Load Work-File ...";

struct WorkFile {
    std::uint16_t WorkLengthUnits = 0;
    std::uint16_t ChordMemoryLength = EmptyChordMemoryLength;
    std::vector<std::uint8_t> ChordMemory = std::vector<std::uint8_t>(2 * EmptyChordMemoryLength, 0);  // L + 4 bytes
    std::array<std::uint8_t, WorkStyleHeaderSize> StyleHeader;
    std::array<std::uint8_t, WorkPartTableSize> PartTable{};
    std::vector<std::uint8_t> Stream;                  // chunk 0's material, at most 165500 bytes

    WorkFile();
    // Tempo (beats per minute), meter (units per measure) and ChannelUsed inside the header.
    std::int16_t StyleTempo() const;
    std::int16_t StyleMeter() const;
    void SetStyleTempo(std::int16_t bpm);
    void SetStyleMeter(std::int16_t units);
    bool ChannelUsed(int channel) const;
    void SetChannelUsed(int channel, bool used);
};

// A fresh style header: every channel set-up byte 255, nothing used, the values after it 0.
std::array<std::uint8_t, WorkStyleHeaderSize> FreshStyleHeader();

// Parses a work file; on failure `error` says what is wrong and `out` is untouched.
bool ParseWorkFile(std::span<const std::uint8_t> bytes, WorkFile& out, std::string& error);
std::vector<std::uint8_t> SerializeWorkFile(const WorkFile& work);

// Whole files. Reading refuses files larger than the layout allows; writing is atomic.
bool ReadWorkFile(const std::string& path, WorkFile& out, std::string& error);
bool WriteWorkFile(const std::string& path, const WorkFile& work, std::string& error);

// The creator's material (chunk 0) into a work file and back.
void TakeWorkMaterial(const CreatorWork& work, WorkFile& file);
// False when memory for chunk 0 is short; the work is then unchanged.
bool PutWorkMaterial(const WorkFile& file, CreatorWork& work);

}  // namespace chordella::data
