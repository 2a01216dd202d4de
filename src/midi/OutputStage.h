#pragma once
// The last stage of the built-in synth's sound, the same live and in a WAV file: the
// master volume (ramped over a block, so a moved slider does not click), a DC blocker (a
// first-order high-pass at 5 Hz: some SoundFont samples carry an offset, and a constant
// offset wastes headroom and thumps at start and stop), and a peak limiter as the last
// guard: the gain staging before it leaves room, so it acts only on rare peaks. It reacts
// at once (no look-ahead, no latency) and lets go over 80 ms, so no sample leaves it above
// the ceiling of −1.1 dBFS.
//
// Control thread: SetVolume. The rendering thread: Process (no allocation, no lock).

#include <atomic>
#include <cstddef>

namespace chordella::midi {

class OutputStage {
public:
    static constexpr float Ceiling = 0.88f;  // −1.1 dBFS

    explicit OutputStage(int sampleRate);

    // Any thread. 0 … 1, linear.
    void SetVolume(float volume) { target_.store(volume, std::memory_order_relaxed); }

    // The rendering thread: the block in place.
    void Process(float* left, float* right, std::size_t frames) noexcept;

    // The rendering thread: how far the limiter holds the level down now (1: not at all).
    float LimiterGain() const { return limiterGain_; }

private:
    std::atomic<float> target_{1.0f};
    float volume_ = 1.0f;
    float dcPole_;
    float release_;
    float lastIn_[2] = {0, 0};
    float lastOut_[2] = {0, 0};
    float limiterGain_ = 1.0f;
};

// The volume of the master volume control, 0 … 100 %: a curve that sounds even over the
// whole range (−6 dB at 70 %, −20 dB at 32 %, silence at 0).
float VolumeCurve(int percent);

}  // namespace chordella::midi
