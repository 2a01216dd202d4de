#pragma once
// The stuck-note check: every note-on sent must be ended, by a note-off (or note-on with
// velocity 0) of the same note on the same channel, or by all-notes-off (123) or all-sound-off
// (120) on its channel. Works on what a RecordingOutput recorded:
//
//   EXPECT_TRUE(NoStuckNotes(rig.Out.Messages));
//   auto stuck = StuckNotes(rig.Out.Messages);   // the notes still sounding, in start order

#include <array>
#include <cstdint>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "support/RecordingOutput.h"

namespace chordella::testing {

struct StuckNote {
    int Channel = 0;
    int Note = 0;
    std::int64_t StartTick = 0;  // the tick of the last note-on that started it
};

inline std::vector<StuckNote> StuckNotes(const std::vector<SentMessage>& messages) {
    // How many note-ons of each note are still sounding, and when the last one came.
    std::array<std::array<int, 128>, 16> sounding{};
    std::array<std::array<std::int64_t, 128>, 16> started{};
    for (const SentMessage& m : messages) {
        if (m.Status >= 0xF0) continue;
        const auto channel = static_cast<std::size_t>(m.Channel());
        const auto note = static_cast<std::size_t>(m.Data1 & 0x7F);
        if (m.IsNoteOn()) {
            ++sounding[channel][note];
            started[channel][note] = m.Tick;
        } else if (m.IsNoteOff()) {
            if (sounding[channel][note] > 0) --sounding[channel][note];
        } else if (m.IsController(123) || m.IsController(120)) {
            sounding[channel].fill(0);
        }
    }
    std::vector<StuckNote> stuck;
    for (std::size_t c = 0; c < 16; ++c) {
        for (std::size_t n = 0; n < 128; ++n) {
            if (sounding[c][n] > 0) stuck.push_back({static_cast<int>(c), static_cast<int>(n), started[c][n]});
        }
    }
    return stuck;
}

inline ::testing::AssertionResult NoStuckNotes(const std::vector<SentMessage>& messages) {
    const std::vector<StuckNote> stuck = StuckNotes(messages);
    if (stuck.empty()) return ::testing::AssertionSuccess();
    std::ostringstream text;
    text << stuck.size() << " note(s) left sounding:";
    for (const StuckNote& s : stuck) text << " [channel " << s.Channel + 1 << " note " << s.Note << " from tick " << s.StartTick << "]";
    return ::testing::AssertionFailure() << text.str();
}

}  // namespace chordella::testing
