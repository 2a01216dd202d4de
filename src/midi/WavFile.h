#pragma once
// 16-bit PCM WAV files, written atomically.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace chordella::midi {

// The bytes of a RIFF/WAVE file holding interleaved 16-bit samples.
std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples, int channels, int sampleRate);
bool WriteWavFile(const std::string& path, std::span<const std::int16_t> samples, int channels, int sampleRate,
                  std::string& error);

}  // namespace chordella::midi
