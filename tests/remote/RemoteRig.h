#pragma once
// A session with MidiOutput3 open on "Memory Out 3" and a delay clock the test moves on
// itself, for the MIDI commands.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "midi/MidiOutput.h"
#include "remote/DelayLink.h"
#include "support/TestSession.h"

namespace chordella::testing {

inline constexpr int CommandOutput = 2;  // "Memory Out 3"

// The alarm on a clock that moves only when Advance says so.
class ManualDelays final : public remote::DelayLink {
public:
    void OnAlarm(std::function<void()> ring) override { ring_ = std::move(ring); }
    void Arm(std::chrono::steady_clock::duration delay) override { due_ = now_ + delay; }
    void Disarm() override { due_.reset(); }
    TimePoint Now() const override { return now_; }
    // Moves the clock on by `millis`, ringing the alarm whenever it falls due on the way.
    void Advance(long millis) {
        const TimePoint until = now_ + std::chrono::milliseconds(millis);
        while (due_ && *due_ <= until) {
            now_ = *due_;
            due_.reset();
            ring_();
        }
        now_ = until;
    }
    bool Armed() const { return due_.has_value(); }

private:
    TimePoint now_{};
    std::optional<TimePoint> due_;
    std::function<void()> ring_ = [] {};
};

// The short messages an output received, as "status data1 data2" triples.
inline std::vector<std::array<int, 3>> Messages(midi::MemoryBackend& midi, int output) {
    std::vector<std::array<int, 3>> out;
    for (const midi::SentMessage& m : midi.Sent(output))
        if (!m.IsLong())
            out.push_back({static_cast<int>(m.Packed & 0xFF), static_cast<int>((m.Packed >> 8) & 0xFF),
                           static_cast<int>((m.Packed >> 16) & 0xFF)});
    return out;
}

inline void OpenCommandOutput(core::Session& session) {
    midi::TMidiOutput* out = session.MidiOutput3();
    ASSERT_NE(out, nullptr);
    out->SetDeviceID(CommandOutput);
    ASSERT_TRUE(out->Open());
}

}  // namespace chordella::testing
