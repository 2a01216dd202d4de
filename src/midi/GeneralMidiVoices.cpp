#include "midi/GeneralMidiVoices.h"

namespace chordella::midi {

namespace {

constexpr int DrumChannel = 9;
// Bank MSB 126 and 127 select drum kits; MSB 0 is General MIDI's own bank.
bool MakersBank(int msb) { return msb != 0 && msb < 126; }

}  // namespace

int GeneralMidiVoices::Substitute(int channel, int program) const noexcept {
    const auto c = static_cast<std::size_t>(channel & 0x0F);
    if (c == DrumChannel || !MakersBank(msb_[c])) return -1;
    int substitute = -1;
    for (const VoiceSubstitute& voice : table_.Voices) {
        if (voice.Msb == msb_[c] && voice.Program == program && (voice.Lsb < 0 || voice.Lsb == lsb_[c])) {
            substitute = voice.GmProgram;
            break;
        }
    }
    const bool bassPart = (table_.BassChannels >> c & 1U) != 0;
    const int sounding = substitute >= 0 ? substitute : program;
    if (bassPart && (sounding < FirstGmBass || sounding > LastGmBass)) return GmFingerBass;
    return substitute;
}

GeneralMidiVoices::Rewritten GeneralMidiVoices::Rewrite(std::uint32_t packed) noexcept {
    Rewritten out;
    out.Messages[0] = packed;
    out.Count = 1;
    const std::uint32_t status = packed & 0xFF;
    const std::uint32_t channel = status & 0x0F;
    const auto data1 = static_cast<std::uint8_t>(packed >> 8 & 0x7F);
    const auto data2 = static_cast<std::uint8_t>(packed >> 16 & 0x7F);
    if ((status & 0xF0) == 0xB0) {
        if (data1 == 0) msb_[channel] = data2;
        if (data1 == 32) lsb_[channel] = data2;
        return out;
    }
    if ((status & 0xF0) != 0xC0) return out;
    const int substitute = Substitute(static_cast<int>(channel), data1);
    if (substitute < 0) return out;
    const std::uint32_t control = 0xB0 | channel;
    out.Messages = {control, control | 32U << 8, (0xC0 | channel) | static_cast<std::uint32_t>(substitute) << 8};
    out.Count = 3;
    return out;
}

}  // namespace chordella::midi
