#pragma once
// Voices of keyboard makers' own banks and the General MIDI program nearest to each, read from
// the readable table VoiceMap.txt beside this file (compiled in). A General MIDI synth ignores
// bank select, so a maker's bank 8 program 17 (a bass) sounds as program 17 (an organ); the
// map says what the voice is, for the channel rules, and what to send instead on a General
// MIDI output.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "midi/GeneralMidiVoices.h"

namespace chordella::data {

// A channel's voice as MIDI selects it; −1 where nothing was sent.
struct Voice {
    int Msb = -1;
    int Lsb = -1;
    int Program = -1;
    friend bool operator==(const Voice&, const Voice&) = default;
};

// "bank 8/0 program 17"
std::string VoiceText(const Voice& voice);
// Bank MSB 126 and 127 select drum kits.
bool IsDrumKit(const Voice& voice);

struct VoiceMapEntry {
    int Msb = 0;
    int Lsb = -1;          // −1: any LSB
    int Program = 0;
    int GmProgram = 0;
};

class VoiceMap {
public:
    // Reads the table: per line bank MSB, LSB ("*" = any), program and General MIDI program,
    // each 0 … 127; "#" starts a comment. A line it cannot read is left out and said in
    // `problems` ("line 12: program 130 is not 0 … 127").
    static VoiceMap Parse(std::string_view text, std::vector<std::string>* problems = nullptr);

    // The General MIDI program the voice sounds nearest to: its entry's, else its own program;
    // −1 for a drum kit or a voice without a program.
    int NearestGm(const Voice& voice) const;
    // True when an entry names the voice (a maker's own voice, not a General MIDI one).
    bool Lists(const Voice& voice) const;
    // A bass voice: the nearest General MIDI program is one of the basses (32 … 39).
    bool IsBass(const Voice& voice) const;
    std::size_t Size() const { return entries_.size(); }
    // What a General MIDI output plays instead of the makers' voices: every entry (those for an
    // exact LSB first) and the bass part's channel.
    midi::GeneralMidiVoiceTable ForGeneralMidi() const;

private:
    const VoiceMapEntry* Find(const Voice& voice) const;
    std::vector<VoiceMapEntry> entries_;
};

// The map of VoiceMap.txt.
const VoiceMap& BuiltInVoiceMap();
// The table's text as built into the program.
std::string_view BuiltInVoiceMapText();

using midi::FirstGmBass;
using midi::LastGmBass;
// The channel that carries a converted style's bass part (channel 11).
inline constexpr int BassPartChannel = 10;

}  // namespace chordella::data
