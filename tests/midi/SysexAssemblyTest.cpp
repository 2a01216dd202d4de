// Only whole system-exclusive messages are passed on, however they arrive in pieces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "midi/SysexAssembly.h"

namespace chordella::midi {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Case {
    std::string name;
    std::vector<Bytes> pieces;  // "I" stands for a short message in between
    std::vector<Bytes> passed;  // the whole messages, in order
};

const Bytes Interruption = {'I'};

TEST(SysexAssembly, PassesOnlyWholeMessagesThatAnOutputMessageCarries) {
    const std::vector<Case> cases = {
        {"one piece", {{0xF0, 1, 0xF7}}, {{0xF0, 1, 0xF7}}},
        {"two pieces", {{0xF0, 1, 2}, {3, 0xF7}}, {{0xF0, 1, 2, 3, 0xF7}}},
        {"cut, then a new one", {{0xF0, 1, 2}, {0xF0, 5, 0xF7}}, {{0xF0, 5, 0xF7}}},
        {"cut by a short message", {{0xF0, 1, 2}, Interruption, {3, 0xF7}}, {}},
        {"an end without a beginning", {{3, 0xF7}}, {}},
        {"a lone start", {{0xF0}}, {}},
    };
    for (const Case& c : cases) {
        SysexAssembly assembly;
        std::vector<Bytes> passed;
        for (const Bytes& piece : c.pieces) {
            if (piece == Interruption) {
                assembly.Interrupt();
                continue;
            }
            const auto whole = assembly.Add(piece);
            if (!whole.empty()) passed.emplace_back(whole.begin(), whole.end());
        }
        EXPECT_EQ(passed, c.passed) << c.name;
    }

    // A message longer than an output message carries is dropped.
    SysexAssembly assembly;
    Bytes piece(4096, 0x11);
    piece.front() = 0xF0;
    EXPECT_TRUE(assembly.Add(piece).empty());
    piece.front() = 0x11;
    for (int i = 0; i < 15; ++i) EXPECT_TRUE(assembly.Add(piece).empty());
    EXPECT_TRUE(assembly.Add(Bytes{0x11, 0xF7}).empty()) << "65 538 bytes";
    EXPECT_EQ(assembly.Dropped(), 2u);
    const Bytes next = {0xF0, 7, 0xF7};
    const auto whole = assembly.Add(next);
    EXPECT_EQ(Bytes(whole.begin(), whole.end()), next);
}

}  // namespace
}  // namespace chordella::midi
