#pragma once
// Makers' own voices on a General MIDI device. Such a device ignores bank select, so a maker's
// bass chosen as bank 8 program 17 sounds as General MIDI program 17, an organ. For a program
// change of a voice the table lists (by the bank selects sent before it on that channel) the
// device gets bank 0 and the table's General MIDI program instead. On a channel that carries
// the bass part, a maker's voice that would not sound as a bass gets a General MIDI bass: the
// part's role decides where the voice's number says nothing useful.
//
// One sender at a time per instance (the output's own sender); nothing allocates after
// construction.

#include <array>
#include <cstdint>
#include <vector>

namespace chordella::midi {

struct VoiceSubstitute {
    int Msb = 0;
    int Lsb = -1;  // −1: any LSB
    int Program = 0;
    int GmProgram = 0;
};

struct GeneralMidiVoiceTable {
    std::vector<VoiceSubstitute> Voices;  // entries for an exact LSB before those for any
    std::uint16_t BassChannels = 0;       // one bit per channel 0 … 15
};

// General MIDI's basses are programs 32 … 39; 33 is the finger-played electric bass.
inline constexpr int FirstGmBass = 32;
inline constexpr int LastGmBass = 39;
inline constexpr int GmFingerBass = 33;

class GeneralMidiVoices {
public:
    // The messages a General MIDI device gets for one short message: the message itself, or
    // bank select 0 (MSB and LSB) and the substitute program.
    struct Rewritten {
        std::array<std::uint32_t, 3> Messages{};
        int Count = 0;
    };

    explicit GeneralMidiVoices(const GeneralMidiVoiceTable& table) : table_(table) {}

    // Notes bank selects; rewrites a program change of a maker's voice.
    Rewritten Rewrite(std::uint32_t packed) noexcept;
    // The General MIDI program to send for `program` on `channel` after the bank selects seen
    // so far; −1 when the program goes as it is.
    int Substitute(int channel, int program) const noexcept;

private:
    const GeneralMidiVoiceTable& table_;
    std::array<std::uint8_t, 16> msb_{};
    std::array<std::uint8_t, 16> lsb_{};
};

}  // namespace chordella::midi
