#pragma once
// 16-bit PCM WAV files, written atomically: whole from memory, or streamed as the samples
// are made (WavStream), so a song of any length needs no more memory than a block.

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace chordella::midi {

// The bytes of a RIFF/WAVE file holding interleaved 16-bit samples.
std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples, int channels, int sampleRate);
bool WriteWavFile(const std::string& path, std::span<const std::int16_t> samples, int channels, int sampleRate,
                  std::string& error);

// The most sample bytes the 32-bit sizes of a WAV file can state.
inline constexpr std::uint64_t MaxWavDataBytes = 0xFFFFFFFFull - 36;

// A WAV file written as its samples come, into a temporary file beside the target named
// "<file>.part-<process id>-XXXXXX", which Finish completes (sizes, flush) and renames over
// the target. Unfinished, the destructor removes the temporary file; one left behind by a
// killed process is removed by the next Open in that folder. Any single thread.
class WavStream {
public:
    WavStream() = default;
    ~WavStream();
    WavStream(const WavStream&) = delete;
    WavStream& operator=(const WavStream&) = delete;

    // False with `error` set when the target is read-only or the folder cannot be written.
    bool Open(const std::string& path, int channels, int sampleRate, std::string& error);
    // Appends interleaved samples; a failed write is remembered and reported by Finish.
    void Append(std::span<const std::int16_t> samples);
    bool Finish(std::string& error);
    std::uint64_t DataBytes() const { return dataBytes_; }

private:
    void Discard();

    std::FILE* file_ = nullptr;
    std::string temp_, target_;
    int channels_ = 2;
    std::uint64_t dataBytes_ = 0;
    std::string writeError_;
};

// Control thread, once: an interrupt (SIGINT, SIGTERM, SIGHUP) removes the temporary file of
// the stream that is open, then ends the process as the signal would have.
void RemoveTemporaryOnInterrupt();

// Removes the temporary WAV files of our pattern in `folder` whose process is gone;
// answers how many.
int RemoveStaleWavTemporaries(const std::string& folder);

}  // namespace chordella::midi
