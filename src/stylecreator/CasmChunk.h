#pragma once
// The channel table that keyboard style files carry after their MIDI data, in a chunk tagged
// "CASM": groups ("CSEG") of sections named in an "Sdec" list, each with one entry per source
// channel ("Ctab", or the longer "Ctb2" of newer files). An entry says which output channel the
// source channel plays on, under which chord kinds it plays (chord-mute bits), which notes it
// may sound (note-mute bits) and the chord its phrase is written in (the source chord).
//
// After the source chord an entry carries its play rules: note transposition rule and table,
// high key, note limits and retrigger rule, once (old entries) or for three note ranges (newer
// ones); a "Cntt" block in the group may name a table of the minor family for a channel.
//
// Every size in the chunk is big-endian. The reader checks every read: a size that reaches
// past its container ends the reading there with a message, and what was read before stays.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/NativeRules.h"

namespace chordella::stylecreator {

// Chord kinds of the chord-mute bits, bit t = kind t. Only the ones the converter asks about.
namespace casmchord {
inline constexpr int Major = 0;
inline constexpr int Major7 = 2;
inline constexpr int Minor = 8;
inline constexpr int Seventh = 19;
inline constexpr int Cancel = 34;      // no chord ("chord off")
inline constexpr int KindCount = 35;
// "Maj", "m", "7", … for reports; "?" for kinds outside the table.
std::string_view KindName(int kind);
}  // namespace casmchord

struct CasmChannel {
    int SourceChannel = 0;         // 0 … 15, the channel of the MIDI data
    std::string VoiceName;         // 8 characters, trailing blanks removed
    int DestinationChannel = 0;    // 0 … 15, where the keyboard plays it
    std::uint16_t NoteMute = 0x0FFF;     // bit n set: pitch class n (C = 0) sounds
    std::uint64_t ChordMute = 0;         // bit t set: the channel plays under chord kind t
    int SourceRoot = 0;            // 0 … 11, pitch class of the chord the phrase is written in
    int SourceKind = casmchord::Major7;  // chord kind of that chord

    // The play rules; Rules.Active only when the entry holds them and every value is in range.
    data::NativeChannelRules Rules;
    std::string RulesProblem;      // why the rules cannot be used: "NTT 17, tables are 0 … 5"

    bool PlaysUnder(int kind) const { return kind >= 0 && kind < 64 && ((ChordMute >> kind) & 1U) != 0; }
    bool PlaysUnderMajor() const { return PlaysUnder(casmchord::Major); }
};

struct CasmGroup {
    std::vector<std::string> Sections;   // "Main A", "Fill In AA", …
    std::vector<CasmChannel> Channels;
};

struct CasmTable {
    bool Present = false;                // the file has a CASM chunk
    std::vector<CasmGroup> Groups;
    std::vector<std::string> Messages;   // what the reader had to skip or stop at
    bool Damaged = false;                // a block or group was cut short and left out

    // Why the table cannot drive native playback ("" when it can): damage, or the first
    // entry whose rules are missing or out of range.
    std::string NativeProblem() const;

    // The group that names `section` (compared without case and outer blanks); nullptr if none.
    const CasmGroup* GroupFor(std::string_view section) const;
};

// Reads the CASM chunk of a whole style file (the chunks after "MThd" and "MTrk" are walked
// by their sizes until "CASM" is found). A file without the chunk gives Present = false.
CasmTable ReadCasm(std::span<const std::uint8_t> file);
// Reads the CASM chunk's content (what follows its tag and size).
CasmTable ReadCasmContent(std::span<const std::uint8_t> content);

}  // namespace chordella::stylecreator
