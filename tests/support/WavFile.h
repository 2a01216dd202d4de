#pragma once
// Reads back the canonical 44-byte-header WAV files the renderers write (16-bit PCM), and
// measures their loudness.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Bytes.h"
#include "platform/Files.h"

namespace chordella::testing {

struct Wav {
    std::uint16_t Channels = 0;
    std::uint32_t SampleRate = 0;
    std::vector<std::int16_t> Samples;  // interleaved

    double Seconds() const { return Channels && SampleRate ? double(Samples.size()) / Channels / SampleRate : 0.0; }
};

inline Wav ReadWav(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(platform::ReadFileBytes(path, 64u << 20, bytes, error)) << error;
    Wav wav;
    platform::ByteReader in(bytes);
    std::uint32_t word = 0, dataBytes = 0;
    std::uint16_t half = 0;
    in.U32(word, "RIFF");
    EXPECT_EQ(word, 0x46464952u);
    in.Skip(4 + 8 + 4, "sizes");
    in.U16(half, "format");
    EXPECT_EQ(half, 1);
    in.U16(wav.Channels, "channels");
    in.U32(wav.SampleRate, "rate");
    in.Skip(8 + 4, "rest of fmt, data id");
    in.U32(dataBytes, "data size");
    EXPECT_EQ(dataBytes, bytes.size() - 44);
    wav.Samples.resize(dataBytes / 2);
    for (auto& sample : wav.Samples) in.I16(sample, "sample");
    EXPECT_FALSE(in.Failed()) << in.Error();
    return wav;
}

// The root mean square of samples [from, to).
inline double Rms(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += double(samples[i]) * samples[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

}  // namespace chordella::testing
