#include "midi/WavFile.h"

#include "platform/Bytes.h"
#include "platform/Files.h"

namespace chordella::midi {

std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples, int channels, int sampleRate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto blockAlign = static_cast<std::uint16_t>(channels * 2);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(44 + dataBytes);
    platform::ByteWriter out(bytes);
    for (char c : std::string_view("RIFF")) out.U8(static_cast<std::uint8_t>(c));
    out.U32(36 + dataBytes);
    for (char c : std::string_view("WAVEfmt ")) out.U8(static_cast<std::uint8_t>(c));
    out.U32(16);
    out.U16(1);  // PCM
    out.U16(static_cast<std::uint16_t>(channels));
    out.U32(static_cast<std::uint32_t>(sampleRate));
    out.U32(static_cast<std::uint32_t>(sampleRate) * blockAlign);
    out.U16(blockAlign);
    out.U16(16);
    for (char c : std::string_view("data")) out.U8(static_cast<std::uint8_t>(c));
    out.U32(dataBytes);
    for (std::int16_t sample : samples) out.I16(sample);
    return bytes;
}

bool WriteWavFile(const std::string& path, std::span<const std::int16_t> samples, int channels, int sampleRate,
                  std::string& error) {
    const auto bytes = EncodeWav(samples, channels, sampleRate);
    return platform::WriteFileAtomically(path, bytes, error);
}

}  // namespace chordella::midi
