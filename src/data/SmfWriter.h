#pragma once
// Writing a Standard MIDI File from what the engine played: format 1, a conductor track
// with the name, tempo, time signature and one marker per section change, then one track
// per channel that plays, named after its instrument (General MIDI names; channel 10 is
// "Drums"). Times are the engine's ticks (24 per quarter note); the file's division is a
// multiple of 24, so every tick is represented exactly and the import reads the file back
// tick for tick.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace chordella::data {

inline constexpr int ExportDivision = 96;  // file ticks per quarter note: 4 per engine tick

// A channel message at an engine tick, counted from the first beat of measure 1.
struct SmfChannelMessage {
    std::int64_t Tick = 0;
    std::uint8_t Status = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
};

struct SmfTempo {
    std::int64_t Tick = 0;
    int BeatsPerMinute = 120;
};

struct SmfMarker {
    std::int64_t Tick = 0;
    std::string Text;
};

// Everything one exported file holds.
struct SmfContent {
    std::string Name;                              // the conductor track's name
    std::vector<SmfChannelMessage> Messages;       // in the order they were sent
    std::vector<SmfTempo> Tempos;                  // the first applies from tick 0
    std::vector<SmfMarker> Markers;
    int MeasureTicks = 96;                         // engine ticks per measure
    bool EighthMeter = false;                      // the meter counts eighth notes
    // Per channel the program it starts with when no program change comes before its first
    // note (the style's set-up); −1 = unknown (named after program 0).
    std::array<int, 16> Programs;
    std::int64_t EndTick = 0;                      // the end of every track
    int Division = ExportDivision;                 // a multiple of 24

    SmfContent() { Programs.fill(-1); }
};

// The time signature bytes for a measure of `measureTicks` engine ticks: numerator,
// denominator power, clocks per click, 32nds per quarter ("4/4" → 4 2 24 8, "6/8" → 6 3 36 8).
std::array<std::uint8_t, 4> TimeSignatureBytes(int measureTicks, bool eighthMeter);

// True for a channel that gets a track: it plays a note, or sends a program or controller
// that sets up its sound. Channels that only receive the silencing of a stop (note-offs,
// "all sound off", "all notes off", "reset all controllers") get none.
bool ChannelPlays(const std::vector<SmfChannelMessage>& messages, int channel);

// The name of a channel's track: "Drums" for channel 10 (index 9), otherwise the General
// MIDI name of the first program change before its first note, else of `setupProgram`.
std::string ChannelTrackName(const std::vector<SmfChannelMessage>& messages, int channel, int setupProgram);

// The whole file.
std::vector<std::uint8_t> WriteSmf(const SmfContent& content);
// Writes the file atomically; false with `error` set when it cannot be written.
bool WriteSmfFile(const std::string& path, const SmfContent& content, std::string& error);

}  // namespace chordella::data
