#pragma once
// The conversion at the heart of the MIDI import: all tracks of a Standard MIDI File merged,
// file tick by file tick, into one stream of three-byte messages and wait bytes at 24 ticks
// per quarter note. The run changes nothing but the writer it is given; everything else it
// finds (channels used, controller values, tempo, meter, markers) comes back in the result,
// so the caller can try a run first and apply it only when the file is sound.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/CreatorWork.h"
#include "data/SmfFile.h"

namespace chordella::data {

class CreatorWorkWriter;

// Time signatures a file may set (numerator, denominator power, clocks per click, 32nds per
// quarter), the meter each one means and the chord-change interval it chooses.
struct MeterEntry {
    std::array<std::uint8_t, 4> Bytes;
    const char* Meter;
    int MeasureUnits;            // chord-memory units per measure
    int ChordChangeInterval;     // index into the creator's interval list; −1 = no change
};
inline constexpr int FourFourEntry = 2;
extern const std::array<MeterEntry, 8> MeterTable;
// The creator's interval list: "1/4", "1/2", "3/4", "1/1", "5/4", "6/4", "7/4", "2/1".
extern const std::array<const char*, 8> ChordChangeIntervals;

inline constexpr int MaxMarkers = 26;
inline constexpr int MarkerTextBytes = 25;
inline constexpr int LeadingWaitLimit = 96;     // new wait bytes kept before the first note

struct ImportSettings {
    bool CollectMarkers = false;       // style formats: section markers for the converter
    bool TrimLeadingSilence = false;   // "Try to optimize timing" and not asked to keep it
    bool MetersFromFile = true;        // not "Don't get metrum from file"
    int MeasureUnits = 16;             // the meter when the import starts
    std::int32_t StartPosition = FirstPosition;  // the creator's position at the append point
};

enum class ImportStatus {
    Done,
    OutputFull,    // the chunks were exhausted: the material up to there is kept
    UnknownCode,   // a status byte 0xF1 … 0xFE
    Damaged,       // see ImportResult::Problem
};

struct ImportResult {
    ImportStatus Status = ImportStatus::Done;
    // For Damaged: "track 2: a data byte before …"; for UnknownCode: "byte 0xF4 at offset 3012".
    std::string Problem;
    std::int64_t ImportedBeats = 0;
    std::int64_t OutputTicks = 0;
    std::int32_t Position = FirstPosition;       // the creator's position afterwards
    int MeasureUnits = 16;                       // the meter afterwards
    std::array<std::uint8_t, 16> ChannelUsed{};  // 1 = a note-on on the channel
    // The first value the file gives each controller, program and pressure entry (255 = none).
    std::array<std::array<std::uint8_t, 98>, 16> FirstValues;
    int Tempo = 0;                               // the last tempo applied, beats per minute; 0 = none
    int Meter = -1;                              // the last meter table entry applied; −1 = none
    std::vector<SectionMarker> Markers;
    ImportResult() { for (auto& row : FirstValues) row.fill(255); }
};

// "Error - Unknown Code ! (byte 0xF4 at offset 3012)": the program's text, then where.
std::string UnknownCodeMessage(const std::string& where);

// Runs the import over the file's tracks into `out`.
ImportResult RunImport(const SmfLayout& layout, const ImportSettings& settings, CreatorWorkWriter& out);

}  // namespace chordella::data
