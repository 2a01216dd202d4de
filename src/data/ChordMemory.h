#pragma once
// The chord memory of a song: one 4-byte record per beat after a 4-byte header, in a
// buffer of 12010 bytes that lives as long as the program. Positions are byte offsets;
// position 4 is measure 1, beat 1, and a measure is `MeasureUnits` bytes (4 per beat).
//
// Everything here runs on the control thread. The record accessors and the position
// functions allocate nothing and never throw, so the tick procedure may use them.

#include <array>
#include <cstdint>

namespace chordella::data {

inline constexpr int ChordMemorySize = 12010;
inline constexpr int ChordMemoryHeaderSize = 4;
inline constexpr int BeatRecordSize = 4;
// The running position stops the transport when it reaches this.
inline constexpr int ChordMemoryPositionLimit = 12004;
// Header bytes.
inline constexpr int SongStartMeasureOffset = 0;
inline constexpr int SongTempoOffset = 1;
inline constexpr int SongMeterOffset = 2;
inline constexpr int MelodyProgramOffset = 3;

// Command codes of a beat record.
inline constexpr std::uint8_t CommandMidi = 222;          // MIDI command n
inline constexpr std::uint8_t CommandMelodyProgram = 223;  // program change n for the melody
inline constexpr std::uint8_t CommandChannels = 251;       // solo, mute, play channels or melody
inline constexpr std::uint8_t CommandTranspose = 252;      // transpose up (1 … 244) or down (245 … 255)
inline constexpr std::uint8_t CommandLoop = 253;           // loop end (≤ 100) or loop start (101 …)
inline constexpr std::uint8_t CommandTempo = 254;          // tempo n beats per minute
inline constexpr std::uint8_t CommandStop = 255;           // end of the song
// Parameters that mark a command code as a section key or a key signature.
inline constexpr std::uint8_t ParamSectionKey = 12;
inline constexpr std::uint8_t ParamKeyMajor = 13;
inline constexpr std::uint8_t ParamKeyMinor = 14;
// Loop parameters: a start mark repeats (param − 100) times.
inline constexpr std::uint8_t LoopStartBase = 100;

struct BeatRecord {
    std::uint8_t ChordRoot = 0;     // MIDI note of the chord starting here; 0 = the chord goes on
    std::uint8_t ChordType = 0;     // 1 … 17 (the memory knows up to 34); 128 or more is not a chord
    std::uint8_t CommandCode = 0;   // 0 = none
    std::uint8_t CommandParam = 0;

    bool operator==(const BeatRecord&) const = default;
    bool Empty() const { return ChordRoot == 0 && ChordType == 0 && CommandCode == 0 && CommandParam == 0; }
};

// A chord starts on this beat: a root that is a MIDI note (1 … 127) and a type below 128.
bool StartsChord(const BeatRecord& record);
// The type the editor and the lead sheet show: 18 and above are shown as type 1.
int DisplayChordType(const BeatRecord& record);

struct ChordMemory {
    std::array<std::uint8_t, ChordMemorySize> Bytes{};
    // Bytes in use, header included; 4 = empty.
    std::int16_t ChordMemoryLength = ChordMemoryHeaderSize;

    std::uint8_t SongStartMeasure() const { return Bytes[SongStartMeasureOffset]; }
    std::uint8_t SongTempo() const { return Bytes[SongTempoOffset]; }
    std::uint8_t SongMeter() const { return Bytes[SongMeterOffset]; }
    std::uint8_t MelodyProgram() const { return Bytes[MelodyProgramOffset]; }

    bool IsEmpty() const { return ChordMemoryLength <= ChordMemoryHeaderSize; }
    // The record at a position; positions outside 4 … 12006 read as an empty record.
    BeatRecord RecordAt(int position) const;
    // Writes the record at a position; false (nothing written) outside 4 … 12006.
    bool SetRecord(int position, const BeatRecord& record);
};

// An empty song: all zero except the STOP command in the first record, length 4.
void ClearChordMemory(ChordMemory& memory);

// Position of (measure, beat), both 1-based: 4 + (measure − 1) × measureUnits + (beat − 1) × 4.
int PositionOf(int measure, int beat, int measureUnits);
// Measure (1-based) of a position: (position − 4) div measureUnits + 1.
int MeasureOf(int position, int measureUnits);
// Number of measures: ((length − 4) div 4) div (measureUnits div 4); 0 for an empty song.
int MeasureCount(int chordMemoryLength, int measureUnits);
// The measure playback starts at: the header's start measure when it is 1 … 8, else 1.
int StartMeasureOf(const ChordMemory& memory);

}  // namespace chordella::data
