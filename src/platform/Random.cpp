#include "platform/Random.h"

#include <chrono>
#include <utility>

namespace chordella::platform {

namespace {
std::uint64_t SplitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}
std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
}  // namespace

Random::Random(std::uint64_t seed) { Seed(seed); }

void Random::Seed(std::uint64_t seed) {
    for (auto& word : state_) word = SplitMix(seed);
}

// xoshiro256**: small, fast, and the same sequence on every compiler and library.
std::uint64_t Random::Next() {
    const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = Rotl(state_[3], 45);
    return result;
}

int Random::Below(int n) {
    if (n <= 0) return 0;
    return static_cast<int>((static_cast<unsigned __int128>(Next()) * static_cast<unsigned>(n)) >> 64);
}

int Random::Between(int lo, int hi) {
    if (lo > hi) std::swap(lo, hi);
    return lo + Below(hi - lo + 1);
}

std::uint64_t Random::DefaultSeed() {
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

}  // namespace chordella::platform
