#pragma once
// The built-in synth playing live. The control thread queues each message with the time it
// was played (the key's time when a key caused it, else the time of sending); the audio
// thread renders each period in pieces and starts every message at its own frame, a fixed
// delay after its time. So the distance from key to sound stays the same wherever in the
// period the key fell, and a burst of notes keeps its rhythm.
//
// Under JACK the delay is one period: a key read in one period sounds at the same place of
// the next. Where the driver gives no clock of its periods (ALSA, PulseAudio through
// FluidSynth's drivers) messages start at the beginning of the next block.
//
// FluidSynth starts voices only where one of its 64-frame blocks begins, so a message
// starts at the beginning of the block that holds its frame: up to 63 frames (1.3 ms at
// 48 kHz) before its exact place, never after it, so the delay never grows past a period.
//
// Messages never overtake each other: a message is never timed before one queued earlier
// (a release must never come before its note).
//
// Control thread: Queue, SetEffects, SetVolume, Ready. Audio thread: Render (no allocation,
// no lock, no log). Until Ready the audio thread renders silence and leaves the synthesizer
// alone, so the control thread may load the SoundFont meanwhile.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "midi/OutputStage.h"

#include <jack/ringbuffer.h>

namespace chordella::midi {

class Synth;

// Reverb and chorus as the player sets them.
struct SynthEffects {
    bool Reverb = true;
    float ReverbLevel = 0.6f;  // 0 … 1
    bool Chorus = true;
    float ChorusLevel = 0.4f;  // 0 … 1
};

// Where the period being rendered lies in time, for placing the messages in it.
struct PeriodTime {
    bool Timed = false;          // false: every waiting message starts at the first frame
    std::int64_t StartMicros = 0;  // CLOCK_MONOTONIC time of the period's first frame
    std::int64_t Micros = 0;       // the period's length in time
};

class SynthEngine {
public:
    static constexpr std::size_t RingBytes = 256 * 1024;  // about 17 000 short messages
    static constexpr std::size_t MaxMessageBytes = 4096;

    SynthEngine(Synth& synth, int sampleRate);
    ~SynthEngine();
    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    // Control thread. One complete short or system-exclusive message played at `micros`
    // (CLOCK_MONOTONIC). False for a malformed message, and when the ring is full (the
    // audio has stopped; the message is lost and counted).
    bool Queue(const std::uint8_t* bytes, std::size_t count, std::int64_t micros) noexcept;
    // Control thread. Applied by the audio thread at its next period.
    void SetEffects(const SynthEffects& effects);
    void SetVolume(float volume) { stage_.SetVolume(volume); }
    // Control thread: the synthesizer is set up; the audio thread may use it from now on.
    void Ready() { ready_.store(true, std::memory_order_release); }

    // Audio thread: `frames` frames of both channels, overwritten.
    void Render(std::uint32_t frames, float* left, float* right, const PeriodTime& period) noexcept;

    // Any thread.
    std::uint64_t Lost() const { return lost_.load(std::memory_order_relaxed); }
    // Any thread: messages that came too late for their frame and started at the first
    // frame of the period being rendered instead.
    std::uint64_t LateMessages() const { return late_.load(std::memory_order_relaxed); }

private:
    void ApplyEffects() noexcept;
    void RenderPiece(std::uint32_t from, std::uint32_t to, float* left, float* right) noexcept;
    std::uint32_t FrameOf(std::int64_t micros, std::uint32_t frames, const PeriodTime& period) noexcept;
    bool TakeMessage(std::uint8_t* bytes, std::uint32_t& count) noexcept;

    Synth& synth_;
    OutputStage stage_;
    jack_ringbuffer_t* ring_ = nullptr;
    std::atomic<bool> ready_{false};
    std::int64_t lastMicros_ = 0;  // control thread: the time of the last message queued

    // Effects: written by the control thread, taken over when the version changes.
    std::atomic<std::uint32_t> effectsVersion_{0};
    std::atomic<bool> reverbOn_{true};
    std::atomic<float> reverbLevel_{0.6f};
    std::atomic<bool> chorusOn_{true};
    std::atomic<float> chorusLevel_{0.4f};
    std::uint32_t appliedVersion_ = 0;  // audio thread

    std::atomic<std::uint64_t> lost_{0};
    std::atomic<std::uint64_t> late_{0};
    std::uint64_t rendered_ = 0;  // audio thread: frames the synthesizer has made, for its blocks
};

}  // namespace chordella::midi
