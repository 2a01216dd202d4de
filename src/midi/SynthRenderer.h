#pragma once
// Offline rendering through the built-in synth: an output the engine can send to (it is
// a MidiOut), a clock the caller advances, and the audio written as a WAV file. The sound
// passes the same output stage as it does live (master volume, DC blocker, limiter), so a
// WAV file sounds as the song played.
//
//   std::string error;
//   auto renderer = SynthRenderer::Create(error);          // SoundFont found on the system

//   renderer->PutShort(0x90, 60, 100);                     // at time 0
//   renderer->RenderUntil(500'000);                         // half a second of sound
//   renderer->PutShort(0x80, 60, 0);
//   renderer->RenderUntil(1'500'000);
//   renderer->WriteWav("out.wav", error);
//
// Control thread (or any single thread: it shares nothing).

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "midi/AudioSettings.h"
#include "midi/GeneralMidiVoices.h"
#include "midi/MidiOut.h"
#include "midi/OutputStage.h"
#include "midi/Synth.h"
#include "midi/WavFile.h"

namespace chordella::midi {

// A message at a time in microseconds from the start.
struct TimedMessage {
    std::int64_t Micros = 0;
    std::vector<std::uint8_t> Bytes;  // one short message or one whole system-exclusive message
};

class SynthRenderer final : public MidiOut {
public:
    static constexpr int DefaultSampleRate = 44100;

    // nullptr with `error` set when FluidSynth or the SoundFont cannot be had. The SoundFont,
    // volume, reverb and chorus of `audio` (its driver and buffer mean nothing offline).
    static std::unique_ptr<SynthRenderer> Create(std::string& error, int sampleRate = DefaultSampleRate,
                                                 const AudioSettings& audio = {});

    bool IsOpen() const override { return true; }
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void PutShortMsg(std::uint32_t packed) override;
    // A whole system-exclusive message (F0 … F7) or a short message; false when malformed.
    bool PutBytes(std::span<const std::uint8_t> bytes);

    // Sends the sound made from now on to `stream` as it is made, instead of keeping it
    // (Samples stays empty, WriteWav is not used). The stream outlives the renderer's use.
    void StreamTo(WavStream* stream) { stream_ = stream; }
    // Renders sound up to `micros` from the start (nothing when that time has passed).
    void RenderUntil(std::int64_t micros);
    std::int64_t RenderedMicros() const;
    int SampleRate() const { return synth_->SampleRate(); }
    // Interleaved 16-bit stereo rendered so far.
    const std::vector<std::int16_t>& Samples() const { return samples_; }
    bool WriteWav(const std::string& path, std::string& error) const;

    // Makers' own voices are played as their General MIDI voices from now on.
    void SetGeneralMidiVoices(GeneralMidiVoiceTable table);

    // The SoundFont the renderer plays with.
    const std::string& SoundFont() const { return soundFont_; }

private:
    SynthRenderer(std::unique_ptr<Synth> synth, std::string soundFont)
        : synth_(std::move(synth)), stage_(synth_->SampleRate()), soundFont_(std::move(soundFont)) {}
    void Render(std::size_t frames, std::vector<std::int16_t>& samples);

    std::unique_ptr<Synth> synth_;
    OutputStage stage_;
    std::string soundFont_;
    std::vector<float> left_, right_;
    std::uint32_t dither_ = 1;
    WavStream* stream_ = nullptr;
    std::vector<std::int16_t> samples_;
    std::uint64_t frames_ = 0;
    GeneralMidiVoiceTable gmTable_;
    std::unique_ptr<GeneralMidiVoices> gmVoices_;
};

// Renders messages (sorted by time, equal times in their given order) until `endMicros`
// and writes the WAV file, streamed as it is made. False with `error` set on failure, and
// for a length whose sizes a WAV file cannot state.
bool RenderToWav(std::span<const TimedMessage> messages, std::int64_t endMicros, const std::string& path,
                 std::string& error, const AudioSettings& audio = {});

// True when `endMicros` of stereo sound fits the sizes of a WAV file; else false with
// `error` saying how long a WAV file may be.
bool FitsInWav(std::int64_t endMicros, int sampleRate, std::string& error);

}  // namespace chordella::midi
