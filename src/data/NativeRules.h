#pragma once
// The channel-table rules a foreign keyboard style brings, kept beside the loaded style so
// that the engine plays every channel by its own rules instead of from C major. Filled when
// such a style is loaded natively; empty (Present false) for our own styles, which then play
// exactly as before.

#include <array>
#include <cstdint>

#include "data/StyleModel.h"

namespace chordella::data {

// Note transposition rules.
enum class NoteRule : std::uint8_t { RootTransposition, RootFixed, Guitar };

// Note transposition tables. Melody and Bass map scale degree to scale degree, Chord maps
// chord tones to chord tones, the minor family only alters the third (and sixth, seventh,
// fifth) when the chord's quality changes, Bypass keeps every interval.
enum class NoteTable : std::uint8_t {
    Bypass,
    Melody,
    Chord,
    Bass,
    MelodicMinor,
    MelodicMinor5th,
    HarmonicMinor,
    HarmonicMinor5th,
    NaturalMinor,
    NaturalMinor5th,
    Dorian,
    Dorian5th,
};
inline constexpr int NoteTableCount = 12;

// What happens to a channel's sounding notes when the chord changes.
enum class RetriggerRule : std::uint8_t { Stop, PitchShift, PitchShiftToRoot, Retrigger, RetriggerToRoot, NoteGenerator };

// The rules of one note range of a channel.
struct NoteRangeRules {
    NoteRule Rule = NoteRule::RootTransposition;
    NoteTable Table = NoteTable::Melody;
    std::uint8_t HighKey = 11;       // pitch class: a root transposed above it goes an octave down
    std::uint8_t NoteLow = 0;        // every note sounds inside NoteLow … NoteHigh (octaves moved)
    std::uint8_t NoteHigh = 127;
    RetriggerRule Retrigger = RetriggerRule::Stop;
};

struct NativeChannelRules {
    bool Active = false;             // false: the channel plays as our own styles do
    std::uint8_t SourceRoot = 0;     // pitch class of the chord the phrase is written over
    std::uint8_t SourceKind = 2;     // chord kind of the table (2 = Maj7)
    // Notes below MiddleLow use Ranges[0], above MiddleHigh Ranges[2], the rest Ranges[1].
    std::uint8_t MiddleLow = 0;
    std::uint8_t MiddleHigh = 127;
    std::array<NoteRangeRules, 3> Ranges{};

    const NoteRangeRules& RangeFor(int note) const {
        return note < MiddleLow ? Ranges[0] : note > MiddleHigh ? Ranges[2] : Ranges[1];
    }
};

struct NativeRules {
    bool Present = false;
    std::array<std::array<NativeChannelRules, StyleChannels>, PartCount> Parts{};
};

}  // namespace chordella::data
