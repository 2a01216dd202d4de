#include "data/ArrangementState.h"

#include <algorithm>

namespace chordella::data {

namespace {

// FNV-1a: enough to tell an edited song from the one that was saved.
constexpr std::uint64_t FnvOffset = 14695981039346656037ull;
constexpr std::uint64_t FnvPrime = 1099511628211ull;

void Mix(std::uint64_t& hash, std::uint64_t byte) {
    hash ^= byte & 0xFF;
    hash *= FnvPrime;
}

}  // namespace

std::uint64_t SongFingerprint(const ArrangementState& song) {
    std::uint64_t hash = FnvOffset;
    const int length = std::clamp<int>(song.Chords.ChordMemoryLength, 0, ChordMemorySize);
    Mix(hash, static_cast<std::uint64_t>(length));
    Mix(hash, static_cast<std::uint64_t>(length) >> 8);
    for (int i = ChordMemoryHeaderSize; i < length; ++i) Mix(hash, song.Chords.Bytes[static_cast<std::size_t>(i)]);
    Mix(hash, static_cast<std::uint64_t>(song.Melody.MelodyCount));
    Mix(hash, static_cast<std::uint64_t>(song.Melody.MelodyCount) >> 8);
    return hash;
}

bool HasUnsavedChanges(const ArrangementState& song) {
    return !song.Chords.IsEmpty() && SongFingerprint(song) != song.SavedFingerprint;
}

void MarkSongSaved(ArrangementState& song) { song.SavedFingerprint = SongFingerprint(song); }

}  // namespace chordella::data
