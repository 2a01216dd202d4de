#pragma once
// A session with MidiOutput3 open on "Memory Out 3" and a delay clock the test moves on
// itself, for the MIDI commands.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "midi/MidiOutput.h"
#include "remote/DelayLink.h"
#include "support/TestSession.h"

namespace chordella::testing {

inline constexpr int CommandOutput = 2;  // "Memory Out 3"

// Delays on a clock that moves only when Advance says so.
class ManualDelays final : public remote::DelayLink {
public:
    Id After(std::chrono::milliseconds delay, std::function<void()> task) override {
        const Id id = next_++;
        due_.emplace(id, Entry{now_ + delay.count(), std::move(task)});
        return id;
    }
    void Cancel(Id id) override { due_.erase(id); }
    // Moves the clock on by `millis`, running what falls due on the way, in order.
    void Advance(long millis) {
        const long until = now_ + millis;
        for (;;) {
            auto first = std::min_element(due_.begin(), due_.end(),
                                          [](const auto& a, const auto& b) { return a.second.At < b.second.At; });
            if (first == due_.end() || first->second.At > until) break;
            now_ = first->second.At;
            auto task = std::move(first->second.Task);
            due_.erase(first);
            task();
        }
        now_ = until;
    }
    std::size_t Waiting() const { return due_.size(); }

private:
    struct Entry {
        long At;
        std::function<void()> Task;
    };
    long now_ = 0;
    Id next_ = 1;
    std::map<Id, Entry> due_;
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
