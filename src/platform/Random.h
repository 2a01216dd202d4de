#pragma once
// The one source of every random choice of the program (humanize, random chords,
// random styles ...). Seeded, it repeats itself exactly, which is what tests need.

#include <cstdint>

namespace chordella::platform {

class Random {
public:
    explicit Random(std::uint64_t seed = DefaultSeed());
    void Seed(std::uint64_t seed);

    // 0 … n−1; 0 when n ≤ 0.
    int Below(int n);
    // lo … hi inclusive (the bounds may come in either order).
    int Between(int lo, int hi);
    // A raw 64-bit value.
    std::uint64_t Next();

    // A seed from the time of day, for a program that should not repeat itself.
    static std::uint64_t DefaultSeed();

private:
    std::uint64_t state_[4];
};

}  // namespace chordella::platform
