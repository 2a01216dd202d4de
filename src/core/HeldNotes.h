#pragma once
// The recogniser's list of held notes: pitch classes (C = 0) in the order they came. Live
// input keeps at most six entries; the style creator's chord analysis fills it with up to
// 750. It lives in the style container beside the style player's state, together with the
// best match the analysis carries from one call to the next.

#include <array>
#include <cstdint>

namespace chordella::chords {

struct HeldNoteList {
    static constexpr int Capacity = 750;

    // One byte more than the capacity: emptying the list zeroes count + 1 bytes.
    std::array<std::uint8_t, Capacity + 1> Notes{};
    std::int16_t Count = 0;
    // The best match so far (pitch class and type); the analysis mode starts from it.
    std::int16_t BestRoot = 0;
    std::int16_t BestType = 0;

    bool Empty() const { return Count <= 0; }
    // Appends the pitch class of a note; nothing when the list is full.
    void Add(int note);
    // Removes every entry of the note's pitch class; the rest closes up.
    void Remove(int note);
    void Clear();
};

}  // namespace chordella::chords
