#include "midi/OutputStage.h"

#include <algorithm>
#include <cmath>

namespace chordella::midi {

namespace {

constexpr double DcCorner = 5.0;      // Hz
constexpr double ReleaseSeconds = 0.08;
constexpr double Pi = 3.14159265358979323846;

}  // namespace

OutputStage::OutputStage(int sampleRate) {
    const double rate = std::max(sampleRate, 8000);
    dcPole_ = static_cast<float>(1.0 - 2.0 * Pi * DcCorner / rate);
    // The gain climbs back towards 1 by this factor of the remaining distance per sample.
    release_ = static_cast<float>(1.0 - std::exp(-1.0 / (ReleaseSeconds * rate)));
    volume_ = target_.load();
}

void OutputStage::Process(float* left, float* right, std::size_t frames) noexcept {
    if (frames == 0) return;
    const float target = target_.load(std::memory_order_relaxed);
    const float step = (target - volume_) / static_cast<float>(frames);
    float* channels[2] = {left, right};
    for (std::size_t i = 0; i < frames; ++i) {
        volume_ += step;
        float sample[2];
        for (int c = 0; c < 2; ++c) {
            const float in = channels[c][i] * volume_;
            const float out = in - lastIn_[c] + dcPole_ * lastOut_[c];
            lastIn_[c] = in;
            // Silence decays the filter's state into denormal numbers, which are slow.
            lastOut_[c] = std::fabs(out) < 1e-20f ? 0.0f : out;
            sample[c] = out;
        }
        // One gain for both sides, so the stereo picture does not move while it acts.
        const float peak = std::max(std::fabs(sample[0]), std::fabs(sample[1])) * limiterGain_;
        if (peak > Ceiling) limiterGain_ *= Ceiling / peak;
        for (int c = 0; c < 2; ++c) channels[c][i] = sample[c] * limiterGain_;
        limiterGain_ += (1.0f - limiterGain_) * release_;
    }
    volume_ = target;
}

float VolumeCurve(int percent) {
    if (percent <= 0) return 0.0f;
    const double x = std::min(percent, 100) / 100.0;
    return static_cast<float>(x * x);
}

}  // namespace chordella::midi
